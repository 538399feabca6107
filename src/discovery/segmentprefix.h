#pragma once

#include <QString>
#include <optional>

// The first three fields of a dotted PC address, each followed by its dot:
// "192.168.1.20" gives "192.168.1.". The rest of the text is not used.
// A text with fewer than three dots has no segment and gives nothing.
std::optional<QString> segmentPrefix(const QString &pcAddress);

// Where the echo of a search goes: the prefix with the host part "255".
QString broadcastAddress(const QString &prefix);
