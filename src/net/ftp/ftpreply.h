#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// One server reply: a three-digit code and its text lines (the code and the
// "-" or " " separator stripped from the first and the last line).
struct FtpReply {
    int code = 0;
    QStringList lines;

    QString text() const { return lines.join(u' '); }
    bool isPreliminary() const { return code >= 100 && code < 200; }
};

struct FtpReplyScan {
    enum Status {
        Incomplete,   // more bytes are needed
        Complete,     // `reply` holds a reply that took `consumed` bytes
        Malformed,    // not an FTP reply; `error` says why
        LineTooLong,  // a line exceeds the limit without ending
        TooLong,      // a multi-line reply exceeds the total limit
    };
    Status status = Incomplete;
    qsizetype consumed = 0;
    FtpReply reply;
    QString error;
};

constexpr qsizetype FtpMaxReplyLine = 4096;
constexpr qsizetype FtpMaxReplyBytes = 64 * 1024;

// Reads the first reply at the start of `data` (RFC 959 single- and
// multi-line replies; a line ends in CR LF or a bare LF). Looks at nothing
// beyond the reply, so the rest of the buffer is the next reply.
FtpReplyScan scanFtpReply(QByteArrayView data, qsizetype maxLine = FtpMaxReplyLine,
                          qsizetype maxReply = FtpMaxReplyBytes);
