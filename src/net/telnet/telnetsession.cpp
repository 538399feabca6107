#include "net/telnet/telnetsession.h"

#include <QPointer>
#include <QTcpSocket>

#include <libtelnet.h>

namespace {

// What the session agrees to: it sends its terminal type when asked, and
// lets the box echo and suppress go-ahead. libtelnet refuses the rest.
const telnet_telopt_t SupportedOptions[] = {
    {TELNET_TELOPT_TTYPE, TELNET_WILL, TELNET_DONT},
    {TELNET_TELOPT_ECHO, TELNET_WONT, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WONT, TELNET_DO},
    {-1, 0, 0},
};

// The largest piece handed out as one read.
constexpr qint64 ReadSize = 2048;

} // namespace

struct TelnetSession::Handler {
    static void event(telnet_t *, telnet_event_t *event, void *user)
    {
        auto *self = static_cast<TelnetSession *>(user);
        switch (event->type) {
        case TELNET_EV_DATA:
            self->m_received.append(event->data.buffer, qsizetype(event->data.size));
            break;
        case TELNET_EV_SEND:
            if (self->m_socket)
                self->m_socket->write(event->data.buffer, qint64(event->data.size));
            break;
        case TELNET_EV_TTYPE:
            if (event->ttype.cmd == TELNET_TTYPE_SEND)
                telnet_ttype_is(self->m_telnet, self->m_terminalType.toLatin1().constData());
            break;
        case TELNET_EV_WARNING:
            self->m_warnings.append(QString::fromLatin1(event->error.msg));
            break;
        case TELNET_EV_ERROR:
            self->m_fatalError = QString::fromLatin1(event->error.msg);
            break;
        default:
            break;
        }
    }
};

TelnetSession::TelnetSession(QObject *parent)
    : QObject(parent)
{
}

TelnetSession::~TelnetSession()
{
    dropSocket();
}

void TelnetSession::resetProtocol()
{
    if (m_telnet)
        telnet_free(m_telnet);
    m_telnet = telnet_init(SupportedOptions, &Handler::event, 0, this);
    m_fatalError.clear();
    m_warnings.clear();
}

void TelnetSession::dropSocket()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    if (m_telnet) {
        telnet_free(m_telnet);
        m_telnet = nullptr;
    }
    m_established = false;
}

void TelnetSession::connectToHost(const QString &host, quint16 port)
{
    dropSocket();
    resetProtocol();
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_established = true;
        Q_EMIT connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &TelnetSession::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TelnetSession::onSocketError);
    connect(m_socket, &QTcpSocket::disconnected, this, &TelnetSession::onSocketDisconnected);
    m_socket->connectToHost(host, port);
}

void TelnetSession::disconnectFromHost()
{
    dropSocket();
}

bool TelnetSession::isConnecting() const
{
    return m_socket && !m_established
            && (m_socket->state() == QAbstractSocket::HostLookupState
                || m_socket->state() == QAbstractSocket::ConnectingState);
}

bool TelnetSession::isConnected() const
{
    return m_socket && m_established && m_socket->state() == QAbstractSocket::ConnectedState;
}

bool TelnetSession::send(QByteArrayView text)
{
    if (!isConnected())
        return false;
    telnet_send(m_telnet, text.data(), size_t(text.size()));
    return true;
}

void TelnetSession::onReadyRead()
{
    // A slot connected to one of the signals below may close or reopen the
    // session; the socket read here must then be left alone.
    const QPointer<QTcpSocket> socket = m_socket;
    while (socket && socket == m_socket && socket->bytesAvailable() > 0) {
        const QByteArray raw = socket->read(ReadSize);
        if (raw.isEmpty())
            break;
        m_received.clear();
        telnet_recv(m_telnet, raw.constData(), size_t(raw.size()));
        const QByteArray data = std::exchange(m_received, {});
        const QStringList warnings = std::exchange(m_warnings, {});
        const QString fatal = std::exchange(m_fatalError, {});
        for (const QString &warning : warnings)
            Q_EMIT protocolWarning(warning);
        if (socket != m_socket)
            return;
        if (!data.isEmpty())
            Q_EMIT dataReceived(data);
        if (!fatal.isEmpty() && socket == m_socket) {
            dropSocket();
            Q_EMIT closed(tr("The box's telnet stream is broken: %1").arg(fatal));
            return;
        }
    }
}

void TelnetSession::onSocketError()
{
    if (!m_socket)
        return;
    if (!m_established) {
        const QString reason = m_socket->errorString();
        dropSocket();
        Q_EMIT connectFailed(reason);
        return;
    }
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
        return;  // disconnected() follows
    const QString reason = m_socket->errorString();
    dropSocket();
    Q_EMIT closed(reason);
}

void TelnetSession::onSocketDisconnected()
{
    if (!m_socket)
        return;
    // Data that arrived together with the close is still handed out.
    if (m_socket->bytesAvailable() > 0)
        onReadyRead();
    if (!m_socket)
        return;
    const bool wasEstablished = m_established;
    dropSocket();
    if (wasEstablished)
        Q_EMIT closed(QString());
    else
        Q_EMIT connectFailed(tr("The connection was closed while it was being made."));
}
