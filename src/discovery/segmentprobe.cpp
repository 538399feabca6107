#include "discovery/segmentprobe.h"

#include <QHostAddress>
#include <QUdpSocket>

int probeSegment(const QString &prefix, quint16 port)
{
    QUdpSocket socket;
    int sent = 0;
    for (int host = 1; host <= 254; ++host) {
        const QHostAddress target(prefix + QString::number(host));
        if (target.protocol() != QAbstractSocket::IPv4Protocol)
            return sent;
        if (socket.writeDatagram(QByteArray(1, '\0'), target, port) == 1)
            ++sent;
    }
    return sent;
}
