#pragma once

#include "boxcontent.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The kernel's /proc/mtd text: a header line, then one line per partition,
// 'mtd0: 00020000 00004000 "BMon"'.
QByteArray formatPartitionTable(const QList<BoxPartition> &partitions);

// Lines that are not partition lines are skipped.
QList<BoxPartition> parsePartitionTable(const QByteArray &text);

std::optional<BoxPartition> findPartition(const QList<BoxPartition> &partitions, int number);
