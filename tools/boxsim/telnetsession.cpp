#include "telnetsession.h"

#include <QTcpSocket>

#include <libtelnet.h>

#include <cstdio>

namespace {

// What the box agrees to when the client asks: it echoes and suppresses
// go-ahead itself, and lets the client tell its terminal type and size.
const telnet_telopt_t kTelopts[] = {
    {TELNET_TELOPT_ECHO, TELNET_WILL, TELNET_DONT},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_TTYPE, TELNET_WONT, TELNET_DO},
    {TELNET_TELOPT_NAWS, TELNET_WONT, TELNET_DO},
    {-1, 0, 0},
};

// A client that never answers the terminal-type question still gets its
// log-in prompt.
constexpr int kNegotiationTimeoutMs = 1000;

void logLine(const QByteArray &what, const QString &text)
{
    const QByteArray line = "boxsim: " + what + ": " + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

TelnetSession::TelnetSession(QTcpSocket *socket, const SimOptions &options, const BoxRoot &root, BoxState &state,
                             QObject *parent)
    : QObject(parent), m_socket(socket), m_options(options), m_shell(root, state)
{
    m_socket->setParent(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_telnet = telnet_init(kTelopts, &TelnetSession::telnetEvent, 0, this);

    m_negotiationTimeout.setSingleShot(true);
    m_negotiationTimeout.setInterval(kNegotiationTimeoutMs);
    connect(&m_negotiationTimeout, &QTimer::timeout, this, &TelnetSession::startLogin);
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &TelnetSession::pump);
    connect(m_socket, &QTcpSocket::readyRead, this, &TelnetSession::readSocket);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        m_stage = Stage::Closing;
        logLine("session", QStringLiteral("closed"));
        Q_EMIT finished();
    });

    telnet_negotiate(m_telnet, TELNET_DO, TELNET_TELOPT_TTYPE);
    telnet_negotiate(m_telnet, TELNET_WILL, TELNET_TELOPT_ECHO);
    telnet_negotiate(m_telnet, TELNET_WILL, TELNET_TELOPT_SGA);
    m_negotiationTimeout.start();
}

TelnetSession::~TelnetSession()
{
    // The socket is a child and goes with us; libtelnet may not call back any more.
    telnet_free(m_telnet);
}

void TelnetSession::telnetEvent(telnet_t *, telnet_event_t *event, void *session)
{
    static_cast<TelnetSession *>(session)->handleTelnetEvent(*event);
}

void TelnetSession::handleTelnetEvent(const telnet_event_t &event)
{
    switch (event.type) {
    case TELNET_EV_SEND:
        if (m_socket->state() == QAbstractSocket::ConnectedState)
            m_socket->write(event.data.buffer, qint64(event.data.size));
        break;
    case TELNET_EV_DATA:
        if (m_stage == Stage::Negotiating)
            startLogin();
        m_input.append(event.data.buffer, qsizetype(event.data.size));
        break;
    case TELNET_EV_WILL:
        if (event.neg.telopt == TELNET_TELOPT_TTYPE)
            telnet_ttype_send(m_telnet);
        break;
    case TELNET_EV_WONT:
        if (event.neg.telopt == TELNET_TELOPT_TTYPE)
            startLogin();
        break;
    case TELNET_EV_TTYPE:
        if (event.ttype.cmd == TELNET_TTYPE_IS) {
            logLine("terminal", QString::fromLatin1(event.ttype.name));
            startLogin();
        }
        break;
    case TELNET_EV_WARNING:
        logLine("telnet warning", QString::fromLatin1(event.error.msg));
        break;
    case TELNET_EV_ERROR:
        logLine("telnet error", QString::fromLatin1(event.error.msg));
        m_stage = Stage::Closing;
        m_socket->abort();
        break;
    default:
        break;
    }
}

void TelnetSession::readSocket()
{
    const QByteArray data = m_socket->readAll();
    telnet_recv(m_telnet, data.constData(), size_t(data.size()));
    processInput();
}

void TelnetSession::startLogin()
{
    if (m_stage != Stage::Negotiating)
        return;
    m_negotiationTimeout.stop();
    m_stage = Stage::Login;
    queueOutput("\n" + m_options.hostName.toUtf8() + " login: ");
    pump();
}

bool TelnetSession::busy() const
{
    return !m_output.empty() || m_pause.isActive();
}

// Lines end with CR (alone, or followed by LF or NUL) or with a lone LF.
// Characters are echoed as they are taken; a line is taken only when the
// output of the one before has gone out.
void TelnetSession::processInput()
{
    if (m_stage != Stage::Login && m_stage != Stage::Shell)
        return;
    QByteArray echo;
    qsizetype taken = 0;
    bool lineDone = false;
    while (!lineDone && !busy() && taken < m_input.size()) {
        const char c = m_input.at(taken++);
        const bool afterCr = m_afterCr;
        m_afterCr = false;
        if (c == '\r') {
            m_afterCr = true;
            lineDone = true;
        } else if (c == '\n' || c == '\0') {
            lineDone = c == '\n' && !afterCr;
        } else if (c == '\b' || c == '\x7f') {
            if (!m_line.isEmpty()) {
                m_line.chop(1);
                echo += "\b \b";
            }
        } else {
            m_line += c;
            echo += c;
        }
    }
    m_input.remove(0, taken);
    if (lineDone) {
        queueOutput(echo + '\n');
        const QString line = QString::fromUtf8(m_line);
        m_line.clear();
        handleLine(line);
    } else if (!echo.isEmpty()) {
        queueOutput(echo);
    }
    pump();
}

void TelnetSession::handleLine(const QString &line)
{
    if (!m_options.dropOn.isEmpty() && line.contains(m_options.dropOn)) {
        logLine(m_stage == Stage::Login ? "login" : "command", line);
        logLine("drop", line);
        queueClose();
        return;
    }
    if (m_stage == Stage::Login) {
        logLine("login", line);
        if (line.isEmpty()) {
            queueOutput(m_options.hostName.toUtf8() + " login: ");
        } else if (line != m_options.user) {
            queueOutput("\nLogin incorrect\n" + m_options.hostName.toUtf8() + " login: ");
        } else {
            m_stage = Stage::Shell;
            queuePrompt("$ ");
        }
        return;
    }

    logLine("command", line);
    const ShellResult result = m_shell.run(line);
    for (const ShellOutput &piece : result.output)
        queueOutput(piece.text);
    if (result.endsSession) {
        if (result.reboots)
            logLine("reboot", line);
        queueClose();
        return;
    }
    queuePrompt("$ ");
}

void TelnetSession::queueOutput(const QByteArray &text)
{
    m_output.push_back({text, m_options.slowMs});
}

// Without --split-prompt the prompt leaves together with the output before
// it, as a shell's prompt usually reaches a telnet client; with it, it comes
// in segments of its own, the first one ending after "$".
void TelnetSession::queuePrompt(const QByteArray &prompt)
{
    if (!m_options.splitPrompt) {
        if (!m_output.empty() && !m_output.back().close)
            m_output.back().text += prompt;
        else
            m_output.push_back({prompt, m_options.slowMs});
        return;
    }
    const int pause = m_options.slowMs + m_options.splitPauseMs;
    const qsizetype split = prompt.indexOf('$') + 1;
    m_output.push_back({prompt.left(split), pause});
    if (split < prompt.size())
        m_output.push_back({prompt.mid(split), pause});
}

void TelnetSession::queueClose()
{
    m_output.push_back({QByteArray(), 0, true});
}

void TelnetSession::pump()
{
    if (m_pause.isActive())
        return;
    while (!m_output.empty()) {
        Unit &unit = m_output.front();
        if (unit.pauseMs > 0) {
            m_pause.start(unit.pauseMs);
            unit.pauseMs = 0;
            return;
        }
        if (unit.close) {
            m_output.clear();
            m_stage = Stage::Closing;
            m_socket->disconnectFromHost();
            return;
        }
        send(unit.text);
        m_output.pop_front();
    }
    if (!m_input.isEmpty())
        QTimer::singleShot(0, this, &TelnetSession::processInput);
}

void TelnetSession::send(const QByteArray &text)
{
    QByteArray terminalText = text;
    terminalText.replace("\n", "\r\n");
    telnet_send(m_telnet, terminalText.constData(), size_t(terminalText.size()));
}
