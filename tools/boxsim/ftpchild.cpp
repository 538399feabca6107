#include "ftpchild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#endif

QString findFtpServerScript()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QStringList candidates{exeDir + QStringLiteral("/ftpserver.py"),
                                 exeDir + QStringLiteral("/../share/boxwart/ftpserver.py"),
                                 QStringLiteral(BOXSIM_DATA_DIR "/ftpserver.py")};
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

FtpChild::FtpChild(QObject *parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#if defined(Q_OS_LINUX)
    // The server goes with us even when we are killed outright.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &FtpChild::readOutput);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Q_EMIT failed(QStringLiteral("cannot start the FTP server: ") + m_process.errorString());
    });
    connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus) {
        if (m_port == 0)
            Q_EMIT failed(QStringLiteral("the FTP server ended before it listened (exit code %1)").arg(exitCode));
    });
}

FtpChild::~FtpChild()
{
    stop();
}

void FtpChild::start(const SimOptions &options, const QString &root)
{
    const QString script = findFtpServerScript();
    if (script.isEmpty()) {
        Q_EMIT failed(QStringLiteral("ftpserver.py is neither beside ") + QCoreApplication::applicationFilePath()
                      + QStringLiteral(" nor in " BOXSIM_DATA_DIR));
        return;
    }
    // Debian's pyftpdlib belongs to the system's python, which a python3
    // earlier on PATH may not see.
    const QString python =
        QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
    QStringList arguments{script,
                          QStringLiteral("--root"), root,
                          QStringLiteral("--host"), QStringLiteral("127.0.0.1"),
                          QStringLiteral("--port"), QString::number(options.ftpPort),
                          QStringLiteral("--user"), options.user,
                          QStringLiteral("--password"), options.password};
    if (options.ftpMaxLogins > 0)
        arguments << QStringLiteral("--max-logins") << QString::number(options.ftpMaxLogins);
    if (options.ftpCloseDataEarly >= 0)
        arguments << QStringLiteral("--close-data-early") << QString::number(options.ftpCloseDataEarly);
    if (options.ftpSilentAfterAccept)
        arguments << QStringLiteral("--silent-after-accept");
    m_process.start(python, arguments, QIODevice::ReadOnly);
}

void FtpChild::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void FtpChild::readOutput()
{
    m_output += m_process.readAllStandardOutput();
    if (m_port != 0)
        return;
    static const QRegularExpression readyLine(QStringLiteral("^FTP READY port=(\\d+)\\s*$"),
                                              QRegularExpression::MultilineOption);
    const auto match = readyLine.match(QString::fromUtf8(m_output));
    if (match.hasMatch()) {
        m_port = match.captured(1).toUShort();
        Q_EMIT ready(m_port);
    }
}
