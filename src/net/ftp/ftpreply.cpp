#include "net/ftp/ftpreply.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "nnn" followed by separator `sep` (or nothing, when the line is only the code).
int lineCode(QByteArrayView line, char *separator)
{
    if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]))
        return -1;
    const char sep = line.size() > 3 ? line[3] : ' ';
    if (sep != ' ' && sep != '-')
        return -1;
    *separator = sep;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

QString lineText(QByteArrayView line) { return QString::fromUtf8(line); }

} // namespace

FtpReplyScan scanFtpReply(QByteArrayView data, qsizetype maxLine, qsizetype maxReply)
{
    FtpReplyScan scan;
    qsizetype pos = 0;
    int code = -1;
    bool multiLine = false;
    while (true) {
        const qsizetype end = data.indexOf('\n', pos);
        if (end < 0) {
            if (data.size() - pos > maxLine) {
                scan.status = FtpReplyScan::LineTooLong;
                scan.error = QStringLiteral("reply line longer than %1 bytes").arg(maxLine);
            } else if (data.size() > maxReply) {
                scan.status = FtpReplyScan::TooLong;
                scan.error = QStringLiteral("reply longer than %1 bytes").arg(maxReply);
            }
            return scan;
        }
        QByteArrayView line = data.sliced(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > maxLine) {
            scan.status = FtpReplyScan::LineTooLong;
            scan.error = QStringLiteral("reply line longer than %1 bytes").arg(maxLine);
            return scan;
        }
        if (end + 1 > maxReply) {
            scan.status = FtpReplyScan::TooLong;
            scan.error = QStringLiteral("reply longer than %1 bytes").arg(maxReply);
            return scan;
        }
        pos = end + 1;

        char separator = ' ';
        const int thisCode = lineCode(line, &separator);
        if (code < 0) {
            if (thisCode < 100 || thisCode > 599) {
                scan.status = FtpReplyScan::Malformed;
                scan.error = QStringLiteral("malformed reply \"%1\"").arg(lineText(line.first(qMin<qsizetype>(line.size(), 80))));
                return scan;
            }
            code = thisCode;
            multiLine = separator == '-';
            scan.reply.lines.append(lineText(line.sliced(qMin<qsizetype>(line.size(), 4))));
        } else if (thisCode == code && separator == ' ') {
            // Last line of a multi-line reply.
            scan.reply.lines.append(lineText(line.sliced(qMin<qsizetype>(line.size(), 4))));
            multiLine = false;
        } else {
            // Inner lines may carry anything, other codes included.
            scan.reply.lines.append(lineText(line));
        }
        if (!multiLine) {
            scan.status = FtpReplyScan::Complete;
            scan.consumed = pos;
            scan.reply.code = code;
            return scan;
        }
    }
}
