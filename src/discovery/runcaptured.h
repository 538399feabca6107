#pragma once

#include <QString>
#include <QStringList>

// The capture file: a relative name, so it lies in the program's current
// working directory.
QString captureFileName();

// Runs program + " " + parameters in `workingFolder` at idle priority, its
// standard output going into the capture file, and waits for it to end.
// Every line it wrote is appended to `lines`; the capture file is deleted
// afterwards in every case. True when the command was started and ended
// with exit code 0. When it cannot be started (or the capture file cannot
// be created) `startError` gets the system's text for the failure and
// nothing is appended.
bool RunCaptured(const QString &workingFolder, const QString &program, const QString &parameters,
                 QStringList &lines, QString *startError = nullptr);
