#pragma once

#include <QString>
#include <QtGlobal>

// Where and as whom an FTP client logs in.
struct FtpLogin {
    QString host;
    quint16 port = 21;
    QString user;
    QString password;
};

// The outcome of one client step. On failure `error` names the command, the
// reply or the socket error; `replyCode` is the server's last reply code, or
// 0 when the step failed before a reply arrived.
struct FtpResult {
    bool ok = false;
    QString error;
    int replyCode = 0;

    static FtpResult success(int code = 0) { return {true, QString(), code}; }
    static FtpResult failure(const QString &why, int code = 0) { return {false, why, code}; }
    explicit operator bool() const { return ok; }
};
