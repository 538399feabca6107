#include "app/demo/demobox.h"

#include "app/core/appoptions.h"
#include "app/core/settingsstore.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
constexpr int kStartTimeoutMs = 30000;
}

DemoBox::DemoBox(QObject *parent) : QObject(parent)
{
    // The simulator's log of what it was sent goes to our standard error.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &DemoBox::readOutput);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(QStringLiteral("The simulated box could not be started: ") + m_process.program()
                 + QStringLiteral(": ") + m_process.errorString());
    });
    connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        if (!m_ready)
            fail(status == QProcess::CrashExit
                     ? QStringLiteral("The simulated box crashed while starting.")
                     : QStringLiteral("The simulated box ended while starting (exit code %1).").arg(exitCode));
    });
    m_startTimeout.setSingleShot(true);
    m_startTimeout.setInterval(kStartTimeoutMs);
    connect(&m_startTimeout, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("The simulated box did not get ready within %1 s.").arg(kStartTimeoutMs / 1000));
        stop();
    });
}

DemoBox::~DemoBox()
{
    stop();
}

QString DemoBox::simulatorPath()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("boxwart-boxsim"),
                                                         {QCoreApplication::applicationDirPath()});
    return found.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/boxwart-boxsim") : found;
}

void DemoBox::start(const QString &user, const QString &password)
{
    m_output.clear();
    m_ready = false;
    m_failed = false;
    m_startTimeout.start();
    // Without --root the simulator makes a fresh temporary root and removes it at its end.
    m_process.start(m_simulatorPath.isEmpty() ? simulatorPath() : m_simulatorPath, {QStringLiteral("--telnet-port"), QStringLiteral("0"),
                                      QStringLiteral("--ftp-port"), QStringLiteral("0"),
                                      QStringLiteral("--user"), user,
                                      QStringLiteral("--password"), password});
}

void DemoBox::start()
{
    const QString user = SettingsStore::read(SettingsStore::UserId);
    start(user.isEmpty() ? QStringLiteral("root") : user, SettingsStore::read(SettingsStore::Password));
}

void DemoBox::stop()
{
    m_startTimeout.stop();
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The simulator ends, with its FTP server, when its standard input
    // closes; this runs when the program ends, after its event loop.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
}

void DemoBox::applyTo(AppOptions &options) const
{
    options.boxAddress = QStringLiteral("127.0.0.1");
    options.ports.telnet = m_telnetPort;
    options.ports.ftp = m_ftpPort;
}

void DemoBox::readOutput()
{
    m_output += m_process.readAllStandardOutput();
    if (m_ready)
        return;
    static const QRegularExpression readyLine(QStringLiteral("^READY telnet=(\\d+) ftp=(\\d+) root=(.*)$"),
                                              QRegularExpression::MultilineOption);
    const auto match = readyLine.match(QString::fromLocal8Bit(m_output));
    if (!match.hasMatch())
        return;
    m_telnetPort = match.captured(1).toUShort();
    m_ftpPort = match.captured(2).toUShort();
    m_root = match.captured(3).trimmed();
    m_ready = true;
    m_startTimeout.stop();
    Q_EMIT ready();
}

void DemoBox::fail(const QString &reason)
{
    if (m_failed || m_ready)
        return;
    m_failed = true;
    Q_EMIT failed(reason);
}
