#include "jobs/partitions/partitionnumber.h"

namespace PartitionNumber {

QString of(const QString &text)
{
    const QStringView prefix = u"mtd";
    if (!text.startsWith(prefix))
        return {};
    qsizetype end = prefix.size();
    while (end < text.size() && text.at(end) >= u'0' && text.at(end) <= u'9')
        ++end;
    if (end == prefix.size())
        return {};
    if (end < text.size() && text.at(end) != u':' && !text.at(end).isSpace())
        return {};
    return text.mid(prefix.size(), end - prefix.size());
}

QString toFlash(bool listHoldsTable, int itemCount, int chosenIndex, const QString &chosenText)
{
    if (!listHoldsTable)
        return itemCount == 1 ? DefaultFlashPartition : QString();
    if (itemCount < 1 || chosenIndex < 0 || chosenIndex >= itemCount)
        return {};
    return of(chosenText);
}

} // namespace PartitionNumber
