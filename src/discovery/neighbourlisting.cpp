#include "discovery/neighbourlisting.h"

#include <QHostAddress>

namespace {

// Skips blanks from `at` and returns the run of characters up to the next
// blank or the end of the line; `at` ends behind that run.
QString nextBlankSeparatedField(const QString &line, qsizetype &at)
{
    while (at < line.size() && line.at(at) == u' ')
        ++at;
    const qsizetype start = at;
    while (at < line.size() && line.at(at) != u' ')
        ++at;
    return line.mid(start, at - start);
}

} // namespace

bool isBoxHardwareAddress(const QString &hardwareAddress)
{
    return hardwareAddress.startsWith(u"ba-dd-ad", Qt::CaseSensitive);
}

QList<FoundBox> findBoxesInWindowsListing(const QStringList &lines)
{
    QList<FoundBox> boxes;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty())
            continue;
        qsizetype at = 0;
        FoundBox box;
        box.address = nextBlankSeparatedField(line, at);
        box.hardwareAddress = nextBlankSeparatedField(line, at);
        if (isBoxHardwareAddress(box.hardwareAddress))
            boxes.append(box);
    }
    return boxes;
}

QString windowsStyleHardwareAddress(const QString &linuxHardwareAddress)
{
    QString written = linuxHardwareAddress.toLower();
    written.replace(u':', u'-');
    return written;
}

QList<FoundBox> findBoxesInLinuxListing(const QStringList &lines)
{
    QList<FoundBox> boxes;
    for (const QString &line : lines) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 2)
            continue;
        if (fields.contains(u"FAILED") || fields.contains(u"INCOMPLETE"))
            continue;
        if (QHostAddress(fields.first()).protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        const qsizetype lladdr = fields.indexOf(u"lladdr");
        if (lladdr < 0 || lladdr + 1 >= fields.size())
            continue;
        FoundBox box{fields.first(), windowsStyleHardwareAddress(fields.at(lladdr + 1))};
        if (isBoxHardwareAddress(box.hardwareAddress))
            boxes.append(box);
    }
    return boxes;
}
