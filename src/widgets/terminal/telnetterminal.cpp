#include "widgets/terminal/telnetterminal.h"

#include "net/telnet/telnetsession.h"

TelnetTerminal::TelnetTerminal(QWidget *parent)
    : TerminalWidget(parent)
    , m_session(new TelnetSession(this))
{
    setScreenSize(25, 80);
    setScrollbackLimit(40);
    setKeyboardInput(false);  // the user watches the box, never types to it

    connect(m_session, &TelnetSession::dataReceived, this, [this](const QByteArray &chunk) {
        Q_EMIT dataAvailable(chunk);
        feed(chunk);
    });
    connect(m_session, &TelnetSession::connected, this, [this] {
        printNotice(tr("Connected to %1").arg(m_host));
        Q_EMIT sessionConnected();
    });
    connect(m_session, &TelnetSession::connectFailed, this, [this](const QString &reason) {
        printNotice(tr("Connection to %1 failed: %2").arg(m_host, reason));
        Q_EMIT bell();
        Q_EMIT connectFailed(reason);
    });
    connect(m_session, &TelnetSession::closed, this, [this](const QString &reason) {
        printNotice(reason.isEmpty() ? tr("Connection closed by %1").arg(m_host)
                                     : tr("Connection to %1 lost: %2").arg(m_host, reason));
        Q_EMIT bell();
        Q_EMIT sessionClosed(reason);
    });
    connect(m_session, &TelnetSession::protocolWarning, this, [this](const QString &message) {
        printNotice(tr("Telnet protocol error from %1: %2").arg(m_host, message));
    });
}

TelnetTerminal::~TelnetTerminal() = default;

void TelnetTerminal::connectToHost()
{
    clearScreen();
    m_session->disconnectFromHost();
    if (m_host.isEmpty())
        return;
    printNotice(tr("Connecting to %1 port %2 ...").arg(m_host).arg(m_port));
    m_session->connectToHost(m_host, m_port);
}

void TelnetTerminal::disconnectFromHost()
{
    m_session->disconnectFromHost();
}

bool TelnetTerminal::isConnecting() const
{
    return m_session->isConnecting();
}

bool TelnetTerminal::isConnected() const
{
    return m_session->isConnected();
}

bool TelnetTerminal::send(QByteArrayView text)
{
    return m_session->send(text);
}

void TelnetTerminal::printNotice(const QString &line)
{
    QByteArray bytes = line.toLatin1();
    if (cursorColumn() != 0)
        bytes.prepend("\r\n");
    bytes.append("\r\n");
    feed(bytes);
}
