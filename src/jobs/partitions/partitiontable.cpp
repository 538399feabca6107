#include "jobs/partitions/partitiontable.h"

namespace PartitionTable {

bool isPartitionLine(const QString &line)
{
    const qsizetype colon = line.indexOf(u':');
    return colon >= 0 && QStringView(line).first(colon).startsWith(u"mtd");
}

QStringList partitionLines(const QByteArray &file)
{
    QStringList lines;
    const QString text = QString::fromUtf8(file);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString whole = line.toString();
        if (isPartitionLine(whole))
            lines.append(whole);
    }
    return lines;
}

} // namespace PartitionTable
