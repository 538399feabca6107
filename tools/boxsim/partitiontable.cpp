#include "partitiontable.h"

#include <QRegularExpression>

QByteArray formatPartitionTable(const QList<BoxPartition> &partitions)
{
    QByteArray text = "dev:    size   erasesize  name\n";
    for (const BoxPartition &p : partitions) {
        text += QStringLiteral("mtd%1: %2 %3 \"%4\"\n")
                    .arg(p.number)
                    .arg(p.size, 8, 16, QLatin1Char('0'))
                    .arg(p.eraseSize, 8, 16, QLatin1Char('0'))
                    .arg(p.name)
                    .toUtf8();
    }
    return text;
}

QList<BoxPartition> parsePartitionTable(const QByteArray &text)
{
    static const QRegularExpression line(
        QStringLiteral("^mtd(\\d+): ([0-9a-fA-F]{1,8}) ([0-9a-fA-F]{1,8}) \"(.*)\"\\r?$"));
    QList<BoxPartition> partitions;
    for (const QByteArray &raw : text.split('\n')) {
        const auto match = line.match(QString::fromUtf8(raw));
        if (!match.hasMatch())
            continue;
        bool numberOk = false;
        const int number = match.captured(1).toInt(&numberOk);
        const quint32 size = match.captured(2).toUInt(nullptr, 16);
        const quint32 eraseSize = match.captured(3).toUInt(nullptr, 16);
        if (!numberOk || eraseSize == 0)
            continue;
        partitions.append({number, size, eraseSize, match.captured(4)});
    }
    return partitions;
}

std::optional<BoxPartition> findPartition(const QList<BoxPartition> &partitions, int number)
{
    for (const BoxPartition &p : partitions) {
        if (p.number == number)
            return p;
    }
    return std::nullopt;
}
