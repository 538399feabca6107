#pragma once

#include <QString>

namespace PartitionNumber {

// The number of the partition a table line or a typed text names: the digits
// that follow a leading "mtd", all of them, so "mtd12: ..." is partition 12.
// The digits must end at ":", a blank or the end of the text. Empty when the
// text names no partition ("mtdblock", "MTD1", "mtd1a:").
QString of(const QString &text);

// The partition the flash job writes, from the partition list on the flash
// page. Before any table has been read the list holds its single default item
// and the partition is "2". Once a table has been read an item must be chosen.
// Empty when no partition can be taken (nothing chosen, or a chosen text
// without a number).
QString toFlash(bool listHoldsTable, int itemCount, int chosenIndex, const QString &chosenText);

inline const QString DefaultFlashPartition = QStringLiteral("2");

} // namespace PartitionNumber
