#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The box's partition table as the kernel prints it in /proc/mtd:
//   dev:    size   erasesize  name
//   mtd0: 00040000 00020000 "boot"
namespace PartitionTable {

// A line is a partition line when its text before the first ":" starts with
// "mtd" (lower case). A line without any ":" has no such text and is never a
// partition line: the kernel always prints the colon.
bool isPartitionLine(const QString &line);

// The partition lines of a table file, whole and in the file's order. Lines
// end at LF; a CR before it (or at the very end) is not part of the line.
// Bytes that are not UTF-8 become replacement characters.
QStringList partitionLines(const QByteArray &file);

} // namespace PartitionTable
