#include "jobs/sequencer/joblines.h"

namespace {
constexpr int LinePause = 2000;
const QString DiskDevice = QStringLiteral("/dev/ide/host0/bus0/target0/lun0/disc");
}

bool isPartitionNumber(const QString &targetMtd)
{
    if (targetMtd.isEmpty())
        return false;
    for (const QChar c : targetMtd) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool isWatchedJob(const QString &jobCode)
{
    return jobCode == u"1" || jobCode == u"2" || jobCode == u"3" || jobCode == u"4";
}

bool isDiskJob(const QString &jobCode)
{
    return jobCode == u"5" || jobCode == u"6";
}

std::optional<QList<TypedLine>> jobCommandLines(const QString &jobCode, const QString &targetMtd)
{
    if (jobCode == u"1") {
        if (!isPartitionNumber(targetMtd))
            return std::nullopt;
        return QList<TypedLine>{
            {QStringLiteral("chmod 755 /var/tmp/fcp\r"), LinePause},
            {u"/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/" % targetMtd % u"\r", 0},
        };
    }
    if (jobCode == u"2" || jobCode == u"4")
        return QList<TypedLine>{{QStringLiteral("cat /proc/mtd > /tmp/mtd.txt\r"), 0}};
    if (jobCode == u"3") {
        if (!isPartitionNumber(targetMtd))
            return std::nullopt;
        return QList<TypedLine>{{u"cat /dev/mtd/" % targetMtd % u" > /tmp/save.img" % u"\r", 0}};
    }
    if (jobCode == u"5")
        return QList<TypedLine>{{u"/bin/mount " % DiskDevice % u" /mnt/hd\r", LinePause}};
    if (jobCode == u"6") {
        return QList<TypedLine>{
            {u"/sbin/hdparm -S 5 " % DiskDevice % u" &\r", LinePause},
            {u"/bin/umount " % DiskDevice % u" &\r", LinePause},
        };
    }
    return QList<TypedLine>{};
}
