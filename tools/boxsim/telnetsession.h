#pragma once

#include "boxroot.h"
#include "boxshell.h"
#include "simoptions.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <deque>

class QTcpSocket;
struct telnet_t;
union telnet_event_t;

// One telnet connection to the box: option negotiation as telnetd does it,
// the log-in that takes the user id without asking for a password, then the
// shell with its "$ " prompt. Input is echoed; output goes out with CR LF
// line ends as a tty sends it. Received lines are handled one after the
// other: the next line waits until the previous one's output has gone out.
class TelnetSession : public QObject {
    Q_OBJECT
public:
    TelnetSession(QTcpSocket *socket, const SimOptions &options, const BoxRoot &root, BoxState &state,
                  QObject *parent = nullptr);
    ~TelnetSession() override;

Q_SIGNALS:
    void finished();

private:
    enum class Stage { Negotiating, Login, Shell, Closing };
    struct Unit {
        QByteArray text; // "\n" line ends
        int pauseMs = 0; // wait before sending it
        bool close = false;
    };

    static void telnetEvent(telnet_t *telnet, telnet_event_t *event, void *session);
    void handleTelnetEvent(const telnet_event_t &event);
    void readSocket();
    void startLogin();
    void processInput();
    void handleLine(const QString &line);
    void queueOutput(const QByteArray &text);
    void queuePrompt(const QByteArray &prompt);
    void queueClose();
    void pump();
    void send(const QByteArray &text);
    bool busy() const;

    QTcpSocket *m_socket;
    const SimOptions &m_options;
    BoxShell m_shell;
    telnet_t *m_telnet = nullptr;
    Stage m_stage = Stage::Negotiating;
    QTimer m_negotiationTimeout;
    QTimer m_pause;
    std::deque<Unit> m_output;
    QByteArray m_input;
    QByteArray m_line;
    bool m_afterCr = false;
};
