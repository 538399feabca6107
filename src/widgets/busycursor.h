#pragma once

// The hourglass a long job shows: set by the handler that starts the job,
// taken away by its end or failure. Setting it twice needs one restore only.
namespace BusyCursor {
void set();
void restore();
bool isBusy();
} // namespace BusyCursor
