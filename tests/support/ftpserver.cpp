#include "support/ftpserver.h"

#include <QDir>
#include <QFile>

TestFtpServer::~TestFtpServer()
{
    stop();
}

bool TestFtpServer::start(const QString &root, const Options &options)
{
    m_options = options;
    QStringList arguments{QStringLiteral(BOXWART_SOURCE_DIR "/tools/boxsim/ftpserver.py"),
                          QStringLiteral("--root"), QDir(root).absolutePath(),
                          QStringLiteral("--host"), QStringLiteral("127.0.0.1"),
                          QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--user"), options.user,
                          QStringLiteral("--password"), options.password};
    if (options.maxLogins > 0)
        arguments << QStringLiteral("--max-logins") << QString::number(options.maxLogins);
    if (options.closeDataEarly >= 0)
        arguments << QStringLiteral("--close-data-early") << QString::number(options.closeDataEarly);
    if (options.silentAfterAccept)
        arguments << QStringLiteral("--silent-after-accept");

    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Debian's pyftpdlib belongs to the system interpreter.
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!m_process.waitForStarted(30000)) {
        m_error = QStringLiteral("cannot start the FTP server: ") + m_process.errorString();
        return false;
    }
    const QByteArray marker = "FTP READY port=";
    QByteArray output;
    while (m_process.state() == QProcess::Running) {
        if (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith(marker)) {
                m_port = quint16(line.mid(marker.size()).toUInt());
                return m_port != 0;
            }
            output += line + '\n';
            continue;
        }
        if (!m_process.waitForReadyRead(60000))
            break;
    }
    m_error = QStringLiteral("the FTP server did not get ready: ") + QString::fromUtf8(output);
    stop();
    return false;
}

FtpLogin TestFtpServer::login() const
{
    return {QStringLiteral("127.0.0.1"), m_port, m_options.user, m_options.password};
}

void TestFtpServer::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
    m_port = 0;
}

QByteArray ftpTestPattern(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed * 2654435761u + 1;
    for (qsizetype i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

bool writeTestFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}
