#pragma once

#include <QList>
#include <QString>
#include <optional>

// One line the command step types to the box, and how long to wait after it
// before the next step.
struct TypedLine {
    QString text;
    int pauseAfterMs = 0;
};

// The command lines of a job, in order; empty for an unknown job code.
// Jobs "1" and "3" name the partition TargetMtd; a TargetMtd that is not a
// partition number yields nothing, so no such text reaches the box's shell.
std::optional<QList<TypedLine>> jobCommandLines(const QString &jobCode, const QString &targetMtd);

// Jobs whose end is seen in the received text ("1" to "4").
bool isWatchedJob(const QString &jobCode);

// Jobs that disconnect and return to page "HD-Control" after typing ("5", "6").
bool isDiskJob(const QString &jobCode);

bool isPartitionNumber(const QString &targetMtd);
