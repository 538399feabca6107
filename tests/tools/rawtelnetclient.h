#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpSocket>

// A bare telnet client for talking to the simulated box: it answers the
// box's option requests as a VT100 terminal does and keeps every socket read
// (with the telnet sequences taken out) apart, so that a test can see how the
// box's output was cut into segments.
class RawTelnetClient : public QObject {
    Q_OBJECT
public:
    explicit RawTelnetClient(QObject *parent = nullptr);

    void connectTo(quint16 port);
    void send(const QByteArray &bytes);

    QTcpSocket socket;
    QList<QByteArray> reads;   // text of each read that carried text
    QByteArray text;           // all text so far
    QStringList negotiation;   // "DO 24", "WILL 1", "SB 24 1" as received, in order
    bool closed = false;

private:
    void readSocket();
    void handleCommand(unsigned char command, unsigned char option);

    enum class State { Data, Iac, Option, Sub, SubIac } m_state = State::Data;
    unsigned char m_command = 0;
    QByteArray m_sub;
};
