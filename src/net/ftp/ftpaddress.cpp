#include "net/ftp/ftpaddress.h"

#include <QList>

QString formatPortArgument(const QHostAddress &address, quint16 port)
{
    const quint32 ip = address.toIPv4Address();
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg((ip >> 24) & 0xff).arg((ip >> 16) & 0xff).arg((ip >> 8) & 0xff).arg(ip & 0xff)
        .arg(port >> 8).arg(port & 0xff);
}

QString formatEprtArgument(const QHostAddress &address, quint16 port)
{
    QHostAddress plain = address;
    plain.setScopeId(QString());
    return QStringLiteral("|2|%1|%2|").arg(plain.toString()).arg(port);
}

std::optional<FtpHostPort> parsePasvReply(const QString &text)
{
    // Servers differ in what surrounds the numbers; take the first run of
    // six comma-separated numbers.
    for (qsizetype start = 0; start < text.size(); ++start) {
        if (!text[start].isDigit() || (start > 0 && (text[start - 1].isDigit() || text[start - 1] == u',')))
            continue;
        QList<uint> numbers;
        qsizetype pos = start;
        while (numbers.size() < 6) {
            qsizetype digitsEnd = pos;
            while (digitsEnd < text.size() && text[digitsEnd].isDigit() && digitsEnd - pos < 4)
                ++digitsEnd;
            if (digitsEnd == pos)
                break;
            bool ok = false;
            const uint value = QStringView(text).sliced(pos, digitsEnd - pos).toUInt(&ok);
            if (!ok || value > 255)
                break;
            numbers.append(value);
            pos = digitsEnd;
            if (numbers.size() < 6) {
                if (pos >= text.size() || text[pos] != u',')
                    break;
                ++pos;
            }
        }
        if (numbers.size() == 6 && (pos >= text.size() || (!text[pos].isDigit() && text[pos] != u','))) {
            const quint32 ip = (numbers[0] << 24) | (numbers[1] << 16) | (numbers[2] << 8) | numbers[3];
            return FtpHostPort{QHostAddress(ip), quint16((numbers[4] << 8) | numbers[5])};
        }
    }
    return std::nullopt;
}

std::optional<quint16> parseEpsvReply(const QString &text)
{
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = text.indexOf(u')', open + 1);
    if (open < 0 || close < 0)
        return std::nullopt;
    const QStringView inner = QStringView(text).sliced(open + 1, close - open - 1);
    // "|||port|" with any delimiter character.
    if (inner.size() < 5)
        return std::nullopt;
    const QChar delimiter = inner[0];
    if (inner[1] != delimiter || inner[2] != delimiter || inner.back() != delimiter)
        return std::nullopt;
    bool ok = false;
    const uint port = inner.sliced(3, inner.size() - 4).toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return quint16(port);
}
