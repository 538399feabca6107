#pragma once

#include "net/ftp/ftpresult.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A real FTP server for tests: tools/boxsim/ftpserver.py (pyftpdlib) on
// 127.0.0.1 and a free port, serving `root`. Killed on destruction.
class TestFtpServer {
public:
    struct Options {
        QString user = QStringLiteral("root");
        QString password = QStringLiteral("secret");
        int maxLogins = 0;              // 0 = no limit
        qint64 closeDataEarly = -1;     // bytes; -1 = never
        bool silentAfterAccept = false;
    };

    TestFtpServer() = default;
    ~TestFtpServer();
    TestFtpServer(const TestFtpServer &) = delete;
    TestFtpServer &operator=(const TestFtpServer &) = delete;

    // Starts the server and waits for its ready line; false (with error())
    // when it did not come up.
    bool start(const QString &root, const Options &options);
    bool start(const QString &root) { return start(root, Options()); }
    void stop();

    quint16 port() const { return m_port; }
    // The log-in that the server accepts, at 127.0.0.1.
    FtpLogin login() const;
    const Options &options() const { return m_options; }
    QString error() const { return m_error; }

private:
    QProcess m_process;
    Options m_options;
    quint16 m_port = 0;
    QString m_error;
};

// Bytes that differ from position to position (and from seed to seed), so a
// shifted or truncated copy does not compare equal.
QByteArray ftpTestPattern(qsizetype size, quint32 seed = 1);
bool writeTestFile(const QString &path, const QByteArray &content);
QByteArray readTestFile(const QString &path);
