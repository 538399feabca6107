#include "net/ftp/ftpsession.h"

#include "net/ftp/ftpaddress.h"
#include "net/ftp/transferprogress.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <utility>

namespace {

constexpr qint64 SendChunk = 256 * 1024;
constexpr qint64 SendQueueLimit = 1024 * 1024;
constexpr qint64 ReceiveChunk = 1024 * 1024;

bool isIPv4(const QHostAddress &address)
{
    bool v4 = false;
    address.toIPv4Address(&v4);
    return v4;
}

// The command as it may appear in an error text: never the password.
QString shownCommand(const QString &command)
{
    if (command.startsWith(QLatin1String("PASS "), Qt::CaseInsensitive))
        return QStringLiteral("PASS ***");
    return command;
}

} // namespace

class FtpSession::StepGuard {
public:
    explicit StepGuard(FtpSession *session) : m_session(session)
    {
        m_session->m_busy = true;
        m_session->m_abortReason.clear();
    }
    ~StepGuard() { m_session->m_busy = false; }
    StepGuard(const StepGuard &) = delete;
    StepGuard &operator=(const StepGuard &) = delete;

private:
    FtpSession *m_session;
};

#define FTP_BEGIN_STEP(what)                                                                     \
    if (m_busy)                                                                                  \
        co_return FtpResult::failure(what + QStringLiteral(": another FTP step is still running")); \
    StepGuard guard(this)

#define FTP_REQUIRE_CONNECTION(what)                                                             \
    if (!isConnected())                                                                          \
        co_return FtpResult::failure(what + QStringLiteral(": not connected"))

FtpSession::FtpSession(QObject *parent) : QObject(parent)
{
    m_connectTimer = new QTimer(this);
    m_connectTimer->setSingleShot(true);
    connect(m_connectTimer, &QTimer::timeout, this, [this] {
        m_connectTimedOut = true;
        wake();
    });
}

FtpSession::~FtpSession()
{
    // A step still waiting must come to its end, or its coroutine would
    // never be resumed.
    abort(QStringLiteral("FTP client destroyed"));
}

bool FtpSession::isConnected() const
{
    return m_control && m_control->state() == QAbstractSocket::ConnectedState;
}

void FtpSession::wake()
{
    if (m_waiter)
        std::exchange(m_waiter, nullptr).resume();
}

void FtpSession::watch(QObject *object)
{
    if (auto *socket = qobject_cast<QTcpSocket *>(object)) {
        connect(socket, &QTcpSocket::readyRead, this, &FtpSession::wake);
        connect(socket, &QTcpSocket::bytesWritten, this, &FtpSession::wake);
        connect(socket, &QTcpSocket::stateChanged, this, &FtpSession::wake);
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError error) {
            if (socket == m_data && error != QAbstractSocket::RemoteHostClosedError)
                m_dataError = socket->errorString();
            wake();
        });
    } else if (auto *server = qobject_cast<QTcpServer *>(object)) {
        connect(server, &QTcpServer::newConnection, this, &FtpSession::wake);
        connect(server, &QTcpServer::acceptError, this, &FtpSession::wake);
    }
}

void FtpSession::closeData()
{
    if (m_data) {
        m_data->disconnect(this);
        m_data->abort();
        m_data->deleteLater();
        m_data = nullptr;
    }
    if (m_listener) {
        m_listener->disconnect(this);
        m_listener->close();
        m_listener->deleteLater();
        m_listener = nullptr;
    }
}

void FtpSession::disconnectFromHost()
{
    closeData();
    if (m_control) {
        m_control->disconnect(this);
        m_control->abort();
        m_control->deleteLater();
        m_control = nullptr;
    }
    m_received.clear();
    wake();
}

void FtpSession::abort(const QString &reason)
{
    m_abortReason = reason;
    m_connectTimer->stop();
    disconnectFromHost();
}

QString FtpSession::connectionLostText() const
{
    if (!m_abortReason.isEmpty())
        return m_abortReason;
    if (m_control && m_control->error() != QAbstractSocket::UnknownSocketError
        && m_control->error() != QAbstractSocket::RemoteHostClosedError)
        return QStringLiteral("control connection lost: ") + m_control->errorString();
    return QStringLiteral("control connection closed by the server");
}

QString FtpSession::checkCommand(const QString &command) const
{
    if (command.contains(u'\r') || command.contains(u'\n') || command.contains(QChar(0)))
        return QStringLiteral("%1: line breaks are not allowed in a command").arg(shownCommand(command).simplified());
    return {};
}

void FtpSession::send(const QString &command)
{
    m_control->write(command.toUtf8() + "\r\n");
}

std::optional<FtpSession::ReplyOutcome> FtpSession::takeBufferedReply()
{
    if (m_control)
        m_received += m_control->readAll();
    FtpReplyScan scan = scanFtpReply(m_received);
    switch (scan.status) {
    case FtpReplyScan::Incomplete:
        return std::nullopt;
    case FtpReplyScan::Complete:
        m_received.remove(0, scan.consumed);
        return ReplyOutcome{std::move(scan.reply), QString()};
    case FtpReplyScan::Malformed:
    case FtpReplyScan::LineTooLong:
    case FtpReplyScan::TooLong:
        break;
    }
    // The reply stream cannot be followed any further.
    disconnectFromHost();
    return ReplyOutcome{{}, scan.error};
}

QCoro::Task<FtpSession::ReplyOutcome> FtpSession::readReply()
{
    while (true) {
        if (auto outcome = takeBufferedReply())
            co_return std::move(*outcome);
        if (!m_abortReason.isEmpty() || !isConnected())
            co_return ReplyOutcome{{}, connectionLostText()};
        co_await nextEvent();
    }
}

FtpResult FtpSession::stepFailed(const QString &command, const FtpReply &reply) const
{
    return FtpResult::failure(QStringLiteral("%1: server replied %2 %3")
                                  .arg(shownCommand(command)).arg(reply.code).arg(reply.text()),
                              reply.code);
}

QCoro::Task<FtpResult> FtpSession::simpleCommand(QString command, int accepted, int alsoAccepted)
{
    if (const QString invalid = checkCommand(command); !invalid.isEmpty())
        co_return FtpResult::failure(invalid);
    send(command);
    const ReplyOutcome outcome = co_await readReply();
    if (!outcome.error.isEmpty())
        co_return FtpResult::failure(shownCommand(command) + QStringLiteral(": ") + outcome.error);
    if (outcome.reply.code == accepted || outcome.reply.code == alsoAccepted)
        co_return FtpResult::success(outcome.reply.code);
    co_return stepFailed(command, outcome.reply);
}

QCoro::Task<FtpResult> FtpSession::connectSocket(QTcpSocket *socket, QString host, quint16 port, int timeoutMs)
{
    m_connectTimedOut = false;
    if (timeoutMs > 0)
        m_connectTimer->start(timeoutMs);
    socket->connectToHost(host, port);
    const QString where = host + u':' + QString::number(port);
    while (true) {
        if (socket->state() == QAbstractSocket::ConnectedState) {
            m_connectTimer->stop();
            co_return FtpResult::success();
        }
        if (!m_abortReason.isEmpty()) {
            socket->abort();
            co_return FtpResult::failure(m_abortReason);
        }
        if (m_connectTimedOut) {
            socket->abort();
            co_return FtpResult::failure(QStringLiteral("no connection to %1 within %2 ms").arg(where).arg(timeoutMs));
        }
        if (socket->state() == QAbstractSocket::UnconnectedState) {
            m_connectTimer->stop();
            co_return FtpResult::failure(QStringLiteral("cannot connect to %1: %2").arg(where, socket->errorString()));
        }
        co_await nextEvent();
    }
}

QCoro::Task<FtpResult> FtpSession::connectAndLogin(FtpLogin login, int timeoutMs)
{
    const QString what = QStringLiteral("connect to ") + login.host;
    FTP_BEGIN_STEP(what);
    if (isConnected())
        co_return FtpResult::failure(what + QStringLiteral(": already connected"));
    disconnectFromHost();
    m_control = new QTcpSocket(this);
    watch(m_control);
    m_connectTimeoutMs = timeoutMs;
    FtpResult result = co_await connectSocket(m_control, login.host, login.port, timeoutMs);
    if (result) {
        m_control->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        result = co_await this->login(std::move(login));
    }
    if (!result)
        disconnectFromHost();
    co_return result;
}

QCoro::Task<FtpResult> FtpSession::login(FtpLogin login)
{
    // A server may first announce a delay (120) before it greets.
    ReplyOutcome greeting;
    do {
        greeting = co_await readReply();
        if (!greeting.error.isEmpty())
            co_return FtpResult::failure(QStringLiteral("greeting: ") + greeting.error);
    } while (greeting.reply.code == 120);
    if (greeting.reply.code != 220)
        co_return stepFailed(QStringLiteral("greeting"), greeting.reply);

    const QString user = QStringLiteral("USER ") + login.user;
    if (const QString invalid = checkCommand(user); !invalid.isEmpty())
        co_return FtpResult::failure(invalid);
    send(user);
    const ReplyOutcome userReply = co_await readReply();
    if (!userReply.error.isEmpty())
        co_return FtpResult::failure(user + QStringLiteral(": ") + userReply.error);
    if (userReply.reply.code == 331) {
        FtpResult pass = co_await simpleCommand(QStringLiteral("PASS ") + login.password, 230, 202);
        if (!pass)
            co_return pass;
    } else if (userReply.reply.code != 230) {
        co_return stepFailed(user, userReply.reply);
    }
    if (FtpResult type = co_await simpleCommand(QStringLiteral("TYPE I"), 200); !type)
        co_return type;
    co_return co_await simpleCommand(QStringLiteral("SYST"), 215);
}

TransferProgress FtpSession::newProgress()
{
    return TransferProgress([this](qint64 max) { Q_EMIT workBegin(max); },
                            [this](qint64 count) { Q_EMIT work(count); });
}

QCoro::Task<FtpResult> FtpSession::openDataChannel(QString transferCommand)
{
    FtpResult result = co_await startTransfer(std::move(transferCommand));
    if (!result)
        closeData();
    co_return result;
}

QCoro::Task<FtpResult> FtpSession::startTransfer(QString transferCommand)
{
    closeData();
    m_dataError.clear();
    const QHostAddress serverAddress = m_control->peerAddress();
    if (m_passive) {
        const bool v4 = isIPv4(serverAddress);
        const QString request = v4 ? QStringLiteral("PASV") : QStringLiteral("EPSV");
        send(request);
        const ReplyOutcome outcome = co_await readReply();
        if (!outcome.error.isEmpty())
            co_return FtpResult::failure(request + QStringLiteral(": ") + outcome.error);
        if (outcome.reply.code != (v4 ? 227 : 229))
            co_return stepFailed(request, outcome.reply);
        std::optional<quint16> port;
        if (v4) {
            // Only the port is taken: data goes to the server we talk to,
            // whatever address the reply names.
            if (const auto hostPort = parsePasvReply(outcome.reply.text()))
                port = hostPort->port;
        } else {
            port = parseEpsvReply(outcome.reply.text());
        }
        if (!port)
            co_return FtpResult::failure(QStringLiteral("%1: no address in reply \"%2\"").arg(request, outcome.reply.text()),
                                         outcome.reply.code);
        m_data = new QTcpSocket(this);
        watch(m_data);
        FtpResult connected = co_await connectSocket(m_data, serverAddress.toString(), *port, m_connectTimeoutMs);
        if (!connected)
            co_return FtpResult::failure(QStringLiteral("data connection: ") + connected.error);
    } else {
        m_listener = new QTcpServer(this);
        watch(m_listener);
        const QHostAddress local = m_control->localAddress();
        if (!m_listener->listen(local, 0))
            co_return FtpResult::failure(QStringLiteral("cannot listen for the data connection on %1: %2")
                                             .arg(local.toString(), m_listener->errorString()));
        const bool v4 = isIPv4(local);
        const QString request = v4 ? QStringLiteral("PORT ") + formatPortArgument(local, m_listener->serverPort())
                                   : QStringLiteral("EPRT ") + formatEprtArgument(local, m_listener->serverPort());
        if (FtpResult port = co_await simpleCommand(request, 200); !port)
            co_return port;
    }

    send(transferCommand);
    bool preliminarySeen = false;
    int preliminaryCode = 0;
    while (true) {
        if (!preliminarySeen) {
            if (auto outcome = takeBufferedReply()) {
                if (!outcome->error.isEmpty())
                    co_return FtpResult::failure(transferCommand + QStringLiteral(": ") + outcome->error);
                if (!outcome->reply.isPreliminary())
                    co_return stepFailed(transferCommand, outcome->reply);
                preliminarySeen = true;
                preliminaryCode = outcome->reply.code;
            }
        }
        while (m_listener && !m_data && m_listener->hasPendingConnections()) {
            QTcpSocket *incoming = m_listener->nextPendingConnection();
            if (incoming->peerAddress().isEqual(serverAddress, QHostAddress::TolerantConversion)) {
                incoming->setParent(this);
                m_data = incoming;
                watch(m_data);
                m_listener->disconnect(this);
                m_listener->close();
                m_listener->deleteLater();
                m_listener = nullptr;
            } else {
                // Only the server may connect back to us.
                incoming->abort();
                incoming->deleteLater();
            }
        }
        if (preliminarySeen && m_data)
            co_return FtpResult::success(preliminaryCode);
        if (!m_abortReason.isEmpty() || !isConnected())
            co_return FtpResult::failure(transferCommand + QStringLiteral(": ") + connectionLostText());
        co_await nextEvent();
    }
}

QCoro::Task<FtpResult> FtpSession::finishTransfer(QString transferCommand)
{
    const ReplyOutcome outcome = co_await readReply();
    if (!outcome.error.isEmpty())
        co_return FtpResult::failure(transferCommand + QStringLiteral(": ") + outcome.error);
    if (outcome.reply.code != 226 && outcome.reply.code != 250)
        co_return stepFailed(transferCommand, outcome.reply);
    co_return FtpResult::success(outcome.reply.code);
}

QCoro::Task<FtpResult> FtpSession::sendData(QIODevice *source, qint64 size, QString remoteName)
{
    const QString command = QStringLiteral("STOR ") + remoteName;
    if (const QString invalid = checkCommand(command); !invalid.isEmpty())
        co_return FtpResult::failure(invalid);
    if (FtpResult opened = co_await openDataChannel(command); !opened)
        co_return opened;
    TransferProgress progress = newProgress();
    progress.begin(size);
    QByteArray chunk(SendChunk, Qt::Uninitialized);
    qint64 queued = 0;
    const auto fail = [this](const FtpResult &result) {
        closeData();
        return result;
    };
    while (true) {
        if (!m_abortReason.isEmpty() || !isConnected() || !m_data)
            co_return fail(FtpResult::failure(command + QStringLiteral(": ") + connectionLostText()));
        if (!m_dataError.isEmpty())
            co_return fail(FtpResult::failure(QStringLiteral("%1: data connection broken: %2").arg(command, m_dataError)));
        if (auto outcome = takeBufferedReply()) {
            if (!outcome->error.isEmpty())
                co_return fail(FtpResult::failure(command + QStringLiteral(": ") + outcome->error));
            co_return fail(stepFailed(command, outcome->reply));  // no reply is due before the data ends
        }
        if (m_data->state() != QAbstractSocket::ConnectedState)
            co_return fail(FtpResult::failure(QStringLiteral("%1: data connection closed by the server after %2 of %3 bytes")
                                                  .arg(command).arg(queued - m_data->bytesToWrite()).arg(size)));
        while (queued < size && m_data->bytesToWrite() < SendQueueLimit) {
            const qint64 read = source->read(chunk.data(), qMin(SendChunk, size - queued));
            if (read <= 0)
                co_return fail(FtpResult::failure(QStringLiteral("%1: reading the local data failed after %2 of %3 bytes: %4")
                                                      .arg(command).arg(queued).arg(size).arg(source->errorString())));
            m_data->write(chunk.constData(), read);
            queued += read;
        }
        progress.update(queued - m_data->bytesToWrite());
        if (queued >= size && m_data->bytesToWrite() == 0)
            break;
        co_await nextEvent();
    }
    // The end of the data connection marks the end of the file.
    m_data->disconnectFromHost();
    progress.finish(size);
    closeData();
    co_return co_await finishTransfer(command);
}

QCoro::Task<FtpResult> FtpSession::storeFile(QString localPath, QString remoteName)
{
    const QString what = QStringLiteral("STOR ") + remoteName;
    FTP_BEGIN_STEP(what);
    FTP_REQUIRE_CONNECTION(what);
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        co_return FtpResult::failure(QStringLiteral("cannot open local file %1: %2").arg(localPath, file.errorString()));
    co_return co_await sendData(&file, file.size(), std::move(remoteName));
}

QCoro::Task<FtpResult> FtpSession::storeData(QByteArray data, QString remoteName)
{
    const QString what = QStringLiteral("STOR ") + remoteName;
    FTP_BEGIN_STEP(what);
    FTP_REQUIRE_CONNECTION(what);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    co_return co_await sendData(&buffer, data.size(), std::move(remoteName));
}

QCoro::Task<FtpResult> FtpSession::retrieve(QString remoteName, QString localPath)
{
    const QString command = QStringLiteral("RETR ") + remoteName;
    FTP_BEGIN_STEP(command);
    FTP_REQUIRE_CONNECTION(command);
    if (const QString invalid = checkCommand(command); !invalid.isEmpty())
        co_return FtpResult::failure(invalid);
    // The download goes to a temporary file beside the target, which takes
    // the target's place only once the whole file has arrived.
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly))
        co_return FtpResult::failure(QStringLiteral("cannot create local file %1: %2").arg(localPath, file.errorString()));
    if (FtpResult opened = co_await openDataChannel(command); !opened)
        co_return opened;
    TransferProgress progress = newProgress();
    progress.begin(0);
    const auto fail = [this](const FtpResult &result) {
        closeData();
        return result;
    };
    qint64 received = 0;
    std::optional<FtpReply> finalReply;
    // One buffer for the whole download: a fresh megabyte per read costs
    // an allocation and its page faults every time.
    QByteArray chunk(ReceiveChunk, Qt::Uninitialized);
    while (true) {
        if (!m_abortReason.isEmpty() || !m_data)
            co_return fail(FtpResult::failure(command + QStringLiteral(": ") + connectionLostText()));
        while (m_data->bytesAvailable() > 0) {
            const qint64 read = m_data->read(chunk.data(), chunk.size());
            if (read <= 0)
                break;
            if (file.write(chunk.constData(), read) != read)
                co_return fail(FtpResult::failure(QStringLiteral("cannot write local file %1: %2").arg(localPath, file.errorString())));
            received += read;
        }
        progress.update(received);
        if (!m_dataError.isEmpty())
            co_return fail(FtpResult::failure(QStringLiteral("%1: data connection broken after %2 bytes: %3")
                                                  .arg(command).arg(received).arg(m_dataError)));
        if (!finalReply) {
            if (auto outcome = takeBufferedReply()) {
                if (!outcome->error.isEmpty())
                    co_return fail(FtpResult::failure(command + QStringLiteral(": ") + outcome->error));
                if (outcome->reply.code != 226 && outcome->reply.code != 250)
                    co_return fail(stepFailed(command, outcome->reply));
                finalReply = std::move(outcome->reply);
            }
        }
        const bool dataEnded = m_data->state() == QAbstractSocket::UnconnectedState && m_data->bytesAvailable() == 0;
        if (finalReply && dataEnded)
            break;
        if (!finalReply && !isConnected())
            co_return fail(FtpResult::failure(command + QStringLiteral(": ") + connectionLostText()));
        co_await nextEvent();
    }
    progress.finish(received);
    closeData();
    if (!file.commit())
        co_return FtpResult::failure(QStringLiteral("cannot replace local file %1: %2").arg(localPath, file.errorString()));
    co_return FtpResult::success(finalReply->code);
}

QCoro::Task<FtpResult> FtpSession::remove(QString remoteName)
{
    const QString command = QStringLiteral("DELE ") + remoteName;
    FTP_BEGIN_STEP(command);
    FTP_REQUIRE_CONNECTION(command);
    co_return co_await simpleCommand(command, 250);
}

QCoro::Task<FtpResult> FtpSession::changeDirectory(QString path)
{
    const QString command = QStringLiteral("CWD ") + path;
    FTP_BEGIN_STEP(command);
    FTP_REQUIRE_CONNECTION(command);
    co_return co_await simpleCommand(command, 200, 250);
}

QCoro::Task<FtpResult> FtpSession::changeToParent()
{
    const QString command = QStringLiteral("CDUP");
    FTP_BEGIN_STEP(command);
    FTP_REQUIRE_CONNECTION(command);
    co_return co_await simpleCommand(command, 200, 250);
}
