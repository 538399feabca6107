#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpSocket;
struct telnet_t;

// A telnet client connection to the box. It agrees to send its terminal
// type ("VT100" unless set otherwise), lets the box echo and suppress
// go-ahead, and refuses every other option. Received data is handed out one
// socket read at a time with the protocol taken out.
class TelnetSession : public QObject {
    Q_OBJECT
public:
    explicit TelnetSession(QObject *parent = nullptr);
    ~TelnetSession() override;

    void setTerminalType(const QString &type) { m_terminalType = type; }
    QString terminalType() const { return m_terminalType; }

    // Closes any connection this session still has, then starts connecting
    // without waiting; connected() or connectFailed() follows.
    void connectToHost(const QString &host, quint16 port);
    // Closes the connection; no closed() signal follows.
    void disconnectFromHost();

    bool isConnecting() const;
    bool isConnected() const;

    // Sends text with any IAC byte doubled. False when not connected.
    bool send(QByteArrayView text);

Q_SIGNALS:
    void connected();
    void connectFailed(const QString &reason);
    // One socket read's data with the telnet protocol taken out; a read that
    // carried only protocol yields no signal.
    void dataReceived(const QByteArray &data);
    // The box closed the connection, the connection broke, or the received
    // stream broke the telnet protocol beyond repair (reason says which).
    void closed(const QString &reason);
    // A recoverable fault in the received telnet stream.
    void protocolWarning(const QString &message);

private:
    struct Handler;
    void onReadyRead();
    void onSocketError();
    void onSocketDisconnected();
    void dropSocket();
    void resetProtocol();

    QTcpSocket *m_socket = nullptr;
    telnet_t *m_telnet = nullptr;
    QString m_terminalType = QStringLiteral("VT100");
    QByteArray m_received;   // data of the read being taken apart
    QStringList m_warnings;  // set by the protocol handler during one read
    QString m_fatalError;
    bool m_established = false;
};
