#pragma once

#include "net/tftp/tftptransfer.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <memory>

class QNetworkDatagram;
class QThread;
class QUdpSocket;

namespace Tftp {

// What the file-request step may change before a read request is served.
struct ReadFileRequest {
    QString fileName;      // the name the client asked for; set it to the file to send
    Peer peer;
    bool grantAccess = true;
};

} // namespace Tftp

// A TFTP server that answers read requests only. It listens on one UDP port
// of all local IPv4 addresses; every accepted request is served by a worker
// thread of its own. The file-request step (readFile) and the completion
// (transferComplete) happen on the thread the server lives on.
class TftpServer : public QObject {
    Q_OBJECT
public:
    explicit TftpServer(QObject *parent = nullptr);
    ~TftpServer() override;

    quint16 defaultPort() const { return m_defaultPort; }
    void setDefaultPort(quint16 port) { m_defaultPort = port; }
    void setTiming(Tftp::Timing timing) { m_timing = timing; }

    bool isActive() const { return m_socket != nullptr; }
    // Starts listening; an active server stays as it is. On failure the
    // server stays off and bindError()/errorString() tell why.
    bool activate();
    QAbstractSocket::SocketError bindError() const { return m_bindError; }
    QString errorString() const { return m_errorString; }
    // The port actually listened on (useful with default port 0).
    quint16 localPort() const;
    int runningTransfers() const { return int(m_running.size()); }

Q_SIGNALS:
    // Emitted for every read request with a usable mode, before it is
    // served; connect it directly, the handler fills in `request`.
    void readFile(Tftp::ReadFileRequest &request);
    // A started transfer has ended. Requests whose file could not be opened
    // never start and never complete.
    void transferComplete(bool success, const Tftp::Peer &peer);

private:
    struct Running {
        std::unique_ptr<Tftp::Transfer> transfer;
        QThread *thread = nullptr;
    };

    void readPending();
    void handle(const QNetworkDatagram &datagram);
    void reply(const QNetworkDatagram &to, const QByteArray &packet);
    void finished(QThread *thread);

    quint16 m_defaultPort = 69;
    Tftp::Timing m_timing;
    QUdpSocket *m_socket = nullptr;
    QAbstractSocket::SocketError m_bindError = QAbstractSocket::UnknownSocketError;
    QString m_errorString;
    std::vector<Running> m_running;
};
