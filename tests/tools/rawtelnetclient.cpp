#include "rawtelnetclient.h"

#include <QHostAddress>

namespace {
constexpr unsigned char IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr unsigned char ECHO = 1, SGA = 3, TTYPE = 24;
} // namespace

RawTelnetClient::RawTelnetClient(QObject *parent) : QObject(parent)
{
    connect(&socket, &QTcpSocket::readyRead, this, &RawTelnetClient::readSocket);
    connect(&socket, &QTcpSocket::disconnected, this, [this] { closed = true; });
}

void RawTelnetClient::connectTo(quint16 port)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
}

void RawTelnetClient::send(const QByteArray &bytes)
{
    socket.write(bytes);
}

void RawTelnetClient::readSocket()
{
    QByteArray chunk;
    for (const char byte : socket.readAll()) {
        const auto c = static_cast<unsigned char>(byte);
        switch (m_state) {
        case State::Data:
            if (c == IAC)
                m_state = State::Iac;
            else
                chunk += byte;
            break;
        case State::Iac:
            if (c == IAC) {
                chunk += byte;
                m_state = State::Data;
            } else if (c == SB) {
                m_sub.clear();
                m_state = State::Sub;
            } else if (c >= WILL && c <= DONT) {
                m_command = c;
                m_state = State::Option;
            } else {
                m_state = State::Data;
            }
            break;
        case State::Option:
            handleCommand(m_command, c);
            m_state = State::Data;
            break;
        case State::Sub:
            if (c == IAC)
                m_state = State::SubIac;
            else
                m_sub += byte;
            break;
        case State::SubIac:
            if (c == SE) {
                negotiation.append(QStringLiteral("SB %1 %2")
                                       .arg(m_sub.isEmpty() ? 0 : quint8(m_sub.at(0)))
                                       .arg(m_sub.size() < 2 ? 0 : quint8(m_sub.at(1))));
                if (m_sub == QByteArray("\x18\x01", 2)) {
                    const char reply[] = {char(IAC), char(SB), char(TTYPE), 0, 'V', 'T', '1', '0', '0', char(IAC), char(SE)};
                    socket.write(reply, sizeof reply);
                }
                m_state = State::Data;
            } else {
                m_sub += byte;
                m_state = State::Sub;
            }
            break;
        }
    }
    if (!chunk.isEmpty()) {
        reads.append(chunk);
        text += chunk;
    }
}

void RawTelnetClient::handleCommand(unsigned char command, unsigned char option)
{
    static const char *const names[] = {"WILL", "WONT", "DO", "DONT"};
    negotiation.append(QLatin1String(names[command - WILL]) + QLatin1Char(' ') + QString::number(option));
    unsigned char answer = 0;
    if (command == DO)
        answer = option == TTYPE ? WILL : WONT;
    else if (command == WILL)
        answer = option == ECHO || option == SGA ? DO : DONT;
    if (answer) {
        const char reply[] = {char(IAC), char(answer), char(option)};
        socket.write(reply, sizeof reply);
    }
}
