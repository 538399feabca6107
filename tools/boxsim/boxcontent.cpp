#include "boxcontent.h"

#include "partitiontable.h"

namespace {

// A line of the service list: the line kind, fields the program skips, the
// service id (5 hex digits), more skipped fields, the two name lengths (hex)
// and the two names.
QByteArray serviceLine(const QString &skipped, const QString &serviceId, const QString &first, const QString &second)
{
    const QString line = QString(QStringLiteral("S") + skipped).leftJustified(25, QLatin1Char(' '), true) + serviceId
                         + QStringLiteral(" 0001 0085 0").leftJustified(12, QLatin1Char(' '), true)
                         + QStringLiteral("%1").arg(first.size(), 2, 16, QLatin1Char('0')).toUpper()
                         + QStringLiteral("%1").arg(second.size(), 2, 16, QLatin1Char('0')).toUpper() + first
                         + second + QStringLiteral(" 1");
    return line.toUtf8() + '\n';
}

QByteArray serviceList()
{
    QByteArray list = "# DVB2001 service list\n";
    list += "T 0001 0085 12109 H 27500 3/4\n";
    list += serviceLine(QStringLiteral(" 0001 0085 12109 H 27500"), QStringLiteral("06D66"), QStringLiteral("ARD"),
                        QStringLiteral("Das Erste"));
    list += serviceLine(QStringLiteral(" 0001 0085 12109 H 27500"), QStringLiteral("06dd1"), QStringLiteral("ARD"),
                        QStringLiteral("Bayerisches FS Süd"));
    list += "T 0001 0437 11954 H 27500 3/4\n";
    list += serviceLine(QStringLiteral(" 0001 0437 11954 H 27500"), QStringLiteral("06d6b"),
                        QStringLiteral("ZDFvision"), QStringLiteral("ZDF"));
    list += serviceLine(QStringLiteral(" 0001 0437 11954 H 27500"), QStringLiteral("0006D"), QString(),
                        QStringLiteral("Sat.1"));
    list += serviceLine(QStringLiteral(" 0001 0437 11954 H 27500"), QStringLiteral("02EF4"),
                        QStringLiteral("RTL World"), QStringLiteral("RTL Television"));
    return list;
}

QByteArray timerList()
{
    return QStringLiteral("E 2008-12-24 20:15 2008-12-24 21:45 0/0 1 28006 1 0 Film am Abend\n"
                          "E 2008-12-25 18:00 2008-12-25 18:30 0/0 2 28011 1 0 heute\n"
                          "E 2008-12-31 23:50 2009-01-01 00:20 0/0 1 28113 0 0 Silvester in München\n"
                          "E 2030-06-01 20:15 2030-06-01 22:00 0/0 1 109 1 0 Der große Film\n")
        .toUtf8();
}

QByteArray recording(int size, char seed)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char(i % 188 == 0 ? 0x47 : (seed + i * 7) & 0xff); // transport-stream packets
    return data;
}

} // namespace

QList<BoxPartition> boxPartitions()
{
    return {
        {0, 0x20000, 0x4000, QStringLiteral("BMon")},
        {1, 0x4000, 0x4000, QStringLiteral("BMon Env")},
        {2, 0x40000, 0x4000, QStringLiteral("Kernel")},
        {3, 0x60000, 0x4000, QStringLiteral("Root-FS")},
        {4, 0x30000, 0x4000, QStringLiteral("Var-FS")},
        {5, 0x10000, 0x4000, QStringLiteral("Logo")},
        {6, 0x8000, 0x4000, QStringLiteral("Settings")},
        {7, 0x20000, 0x4000, QStringLiteral("Kernel/Recovery")},
        {8, 0x10000, 0x4000, QStringLiteral("Spare")},
        {9, 0x4000, 0x4000, QStringLiteral("Serial")},
        {10, 0x10000, 0x4000, QStringLiteral("Userdata")},
    };
}

QByteArray partitionContent(const BoxPartition &partition)
{
    QByteArray data = QStringLiteral("VEXA mtd%1 %2\n").arg(partition.number).arg(partition.name).toUtf8();
    const qsizetype head = data.size();
    data.resize(partition.size);
    for (qsizetype i = head; i < data.size(); ++i)
        data[i] = char((partition.number * 37 + i * 13) & 0xff);
    return data;
}

QStringList boxFolders()
{
    return {QStringLiteral("/proc"),
            QStringLiteral("/dev/mtd"),
            QStringLiteral("/dev/ide/host0/bus0/target0/lun0"),
            QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"),
            QStringLiteral("/var/share/dvb2001"),
            QStringLiteral("/mnt/hd/rec/Archiv")};
}

QList<BoxFile> boxFiles()
{
    const QList<BoxPartition> partitions = boxPartitions();
    QList<BoxFile> files{{QStringLiteral("/proc/mtd"), formatPartitionTable(partitions)}};
    for (const BoxPartition &partition : partitions)
        files.append({QStringLiteral("/dev/mtd/%1").arg(partition.number), partitionContent(partition)});
    files.append({diskDevice(), QByteArray()});
    files.append({QStringLiteral("/var/share/dvb2001/timer-events.dat"), timerList()});
    files.append({QStringLiteral("/var/share/dvb2001/services.dat"), serviceList()});
    files.append({QStringLiteral("/mnt/hd/rec/20081224_2015_Film am Abend.ts"), recording(48 * 1024, 1)});
    files.append({QStringLiteral("/mnt/hd/rec/20081225_1800_heute.ts"), recording(16 * 1024, 2)});
    files.append({QStringLiteral("/mnt/hd/rec/Archiv/20071231_2350_Silvester.ts"), recording(8 * 1024, 3)});
    return files;
}
