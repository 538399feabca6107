#pragma once

#include "widgets/terminal/terminalwidget.h"

class TelnetSession;

// The terminal on which every telnet job runs: a VT100 screen bound to a
// telnet connection to the box. Keys typed into it are discarded; the box
// is only watched.
class TelnetTerminal : public TerminalWidget {
    Q_OBJECT
public:
    explicit TelnetTerminal(QWidget *parent = nullptr);
    ~TelnetTerminal() override;

    void setHostName(const QString &host) { m_host = host; }
    QString hostName() const { return m_host; }
    void setPort(quint16 port) { m_port = port; }
    quint16 port() const { return m_port; }

    // Clears the screen, closes any connection still open and starts
    // connecting to hostName(); prints a line saying so.
    void connectToHost();
    void disconnectFromHost();
    bool isConnecting() const;
    bool isConnected() const;

    // Sends text unchanged (no CR or LF added). False when not connected.
    bool send(QByteArrayView text);

    // Prints a line of this program's own (not from the box) on the screen.
    void printNotice(const QString &line);

    TelnetSession *session() const { return m_session; }

Q_SIGNALS:
    // A received chunk, before it is drawn.
    void dataAvailable(const QByteArray &chunk);
    void sessionConnected();
    void connectFailed(const QString &reason);
    void sessionClosed(const QString &reason);

private:
    TelnetSession *m_session;
    QString m_host;
    quint16 m_port = 23;
};
