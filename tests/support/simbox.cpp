#include "support/simbox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#ifndef BOXWART_BIN_DIR
#error "BOXWART_BIN_DIR must name the folder that holds boxwart-boxsim"
#endif

class SimBoxProcess {
public:
    SimBoxOptions options;
    std::unique_ptr<QTemporaryDir> root;
    QProcess process;
    QByteArray standardOutput;
    QByteArray log;
    QStringList commands;
    quint16 telnetPort = 0;
    quint16 ftpPort = 0;
    QString error;

    void takeStandardError()
    {
        const qsizetype parsedUpTo = log.lastIndexOf('\n') + 1;
        log += process.readAllStandardError();
        const qsizetype end = log.lastIndexOf('\n') + 1;
        static const QByteArray commandTag = "boxsim: command: ";
        for (const QByteArray &line : log.mid(parsedUpTo, end - parsedUpTo).split('\n')) {
            if (line.startsWith(commandTag))
                commands.append(QString::fromUtf8(line.mid(commandTag.size())));
        }
    }
};

SimBox::SimBox() : d(std::make_unique<SimBoxProcess>()) {}

SimBox::~SimBox()
{
    stop();
}

bool SimBox::start(const SimBoxOptions &options)
{
    stop();
    d = std::make_unique<SimBoxProcess>();
    d->options = options;
    d->root = std::make_unique<QTemporaryDir>();
    if (!d->root->isValid()) {
        d->error = QStringLiteral("cannot create a root folder: ") + d->root->errorString();
        return false;
    }

    QStringList arguments{QStringLiteral("--root"), d->root->path(), QStringLiteral("--init-root"),
                          QStringLiteral("--telnet-port"), QStringLiteral("0"),
                          QStringLiteral("--user"), options.user,
                          QStringLiteral("--password"), options.password};
    if (options.ftp)
        arguments << QStringLiteral("--ftp-port") << QStringLiteral("0");
    else
        arguments << QStringLiteral("--no-ftp");
    if (options.ftpMaxLogins > 0)
        arguments << QStringLiteral("--ftp-max-logins") << QString::number(options.ftpMaxLogins);
    if (options.splitPrompt)
        arguments << QStringLiteral("--split-prompt");
    if (options.slowMs > 0)
        arguments << QStringLiteral("--slow") << QString::number(options.slowMs);
    if (!options.dropOn.isEmpty())
        arguments << QStringLiteral("--drop-on") << options.dropOn;
    arguments << options.extraArguments;

    QObject::connect(&d->process, &QProcess::readyReadStandardError, &d->process,
                     [box = d.get()] { box->takeStandardError(); });

    const QString program = QStringLiteral(BOXWART_BIN_DIR "/boxwart-boxsim");
    d->process.start(program, arguments);
    if (!d->process.waitForStarted(30000)) {
        d->error = program + QStringLiteral(": ") + d->process.errorString();
        return false;
    }

    static const QRegularExpression ready(
        QStringLiteral("^READY telnet=(\\d+) ftp=(\\d+) root=(.*)$"), QRegularExpression::MultilineOption);
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        d->standardOutput += d->process.readAllStandardOutput();
        const auto match = ready.match(QString::fromUtf8(d->standardOutput));
        if (match.hasMatch()) {
            d->telnetPort = match.captured(1).toUShort();
            d->ftpPort = match.captured(2).toUShort();
            return true;
        }
        if (d->process.state() == QProcess::NotRunning)
            break;
        d->process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    d->takeStandardError();
    d->error = d->process.state() == QProcess::NotRunning
                   ? QStringLiteral("the simulator ended before it was ready: ") + QString::fromUtf8(d->log)
                   : QStringLiteral("the simulator did not become ready within 30 s: ")
                         + QString::fromUtf8(d->log);
    stop();
    return false;
}

void SimBox::stop()
{
    if (!d || d->process.state() == QProcess::NotRunning)
        return;
    d->process.closeWriteChannel(); // the simulator ends when its standard input closes
    if (!d->process.waitForFinished(10000)) {
        d->process.terminate();
        if (!d->process.waitForFinished(5000))
            d->process.kill();
        d->process.waitForFinished(5000);
    }
    d->takeStandardError();
}

bool SimBox::isRunning() const
{
    return d->process.state() == QProcess::Running;
}

QString SimBox::errorString() const
{
    return d->error;
}

quint16 SimBox::telnetPort() const
{
    return d->telnetPort;
}

quint16 SimBox::ftpPort() const
{
    return d->ftpPort;
}

const SimBoxOptions &SimBox::options() const
{
    return d->options;
}

QString SimBox::root() const
{
    return d->root ? d->root->path() : QString();
}

QString SimBox::file(const QString &boxPath) const
{
    const QString relative = QDir::cleanPath(QStringLiteral("/") + boxPath).mid(1);
    return relative.isEmpty() ? root() : root() + QLatin1Char('/') + relative;
}

QByteArray SimBox::read(const QString &boxPath) const
{
    QFile f(file(boxPath));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool SimBox::write(const QString &boxPath, const QByteArray &content) const
{
    QFile f(file(boxPath));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

bool SimBox::exists(const QString &boxPath) const
{
    return QFileInfo::exists(file(boxPath));
}

QStringList SimBox::commands() const
{
    d->takeStandardError();
    return d->commands;
}

QByteArray SimBox::log() const
{
    d->takeStandardError();
    return d->log;
}
