#include "net/tftp/tftptransfer.h"

#include "net/tftp/netascii.h"
#include "net/tftp/tftpoptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QUdpSocket>
#include <QVariant>

#include <climits>
#include <cstring>
#include <deque>

namespace Tftp {

namespace {

// Waits on the socket in short slices so that stop() is noticed quickly.
constexpr int StopCheckMs = 100;

class Session {
public:
    Session(QUdpSocket &socket, const Peer &peer, const std::atomic<bool> &stop)
        : m_socket(socket), m_peer(peer), m_stop(stop), m_receive(65536, Qt::Uninitialized)
    {
    }

    void send(const QByteArray &packet)
    {
        // A full send buffer loses the datagram like the network would;
        // the retransmission covers it.
        m_socket.writeDatagram(packet, m_peer.address, m_peer.port);
    }

    enum class Event { Packet, TimedOut, Stopped };

    // The next datagram from the peer, answering strangers on the way.
    // `packet` stays valid until the next call.
    Event next(qint64 deadlineMs, const QElapsedTimer &clock, QByteArray &packet)
    {
        for (;;) {
            if (m_stop.load(std::memory_order_relaxed))
                return Event::Stopped;
            const qint64 left = deadlineMs - clock.elapsed();
            if (left <= 0)
                return Event::TimedOut;
            // Waiting first saves a futile read right after each send.
            if (!m_socket.waitForReadyRead(int(std::min<qint64>(left, StopCheckMs))))
                continue;
            QHostAddress from;
            quint16 fromPort = 0;
            const qint64 size = m_socket.readDatagram(m_receive.data(), m_receive.size(), &from, &fromPort);
            if (size < 0)
                continue;
            packet = QByteArray::fromRawData(m_receive.constData(), size);
            if (fromPort != m_peer.port || !from.isEqual(m_peer.address, QHostAddress::TolerantConversion)) {
                if (opcodeOf(packet) != Opcode::Error)
                    m_socket.writeDatagram(buildError(ErrorCode::UnknownTransferId, "Unknown transfer ID"), from, fromPort);
                continue;
            }
            return Event::Packet;
        }
    }

private:
    QUdpSocket &m_socket;
    const Peer &m_peer;
    const std::atomic<bool> &m_stop;
    QByteArray m_receive;
};

} // namespace

Transfer::Transfer(Request request, QString fileName, Peer peer, QHostAddress localAddress, Timing timing)
    : m_request(std::move(request))
    , m_fileName(std::move(fileName))
    , m_peer(std::move(peer))
    , m_localAddress(std::move(localAddress))
    , m_timing(timing)
{
}

void Transfer::run()
{
    QUdpSocket socket;
    // Answer from the address the request came to; a request sent to a
    // broadcast address is answered from whatever address routing picks.
    if (!socket.bind(m_localAddress, 0) && !socket.bind(QHostAddress::AnyIPv4, 0)) {
        m_failure = socket.errorString();
        return;
    }
    Session session(socket, m_peer, m_stop);

    QFile file(m_fileName);
    if (m_fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        session.send(buildError(ErrorCode::FileNotFound, "File not found"));
        m_failure = m_fileName.isEmpty() ? QStringLiteral("no file chosen") : file.errorString();
        return;
    }
    const bool netascii = m_request.mode.compare("netascii", Qt::CaseInsensitive) == 0;
    const qint64 transferSize = file.isSequential() ? -1 : netascii ? netasciiSize(file) : file.size();

    Negotiated negotiated = negotiate(m_request.options, transferSize);
    if (negotiated.windowSize > 1) {
        const qint64 wanted = windowBufferBytes(negotiated.blockSize, negotiated.windowSize);
        const auto option = QAbstractSocket::SendBufferSizeSocketOption;
        if (socket.socketOption(option).toLongLong() < wanted)
            socket.setSocketOption(option, QVariant::fromValue(int(std::min<qint64>(wanted, INT_MAX))));
        capWindow(negotiated, socket.socketOption(option).toLongLong());
    }
    const int blockSize = negotiated.blockSize;
    const int windowSize = negotiated.windowSize;
    const int retransmitMs = negotiated.timeoutSeconds > 0 ? negotiated.timeoutSeconds * 1000 : m_timing.retransmitMs;

    BlockSource source(file, netascii);
    // Data packets from the first unacknowledged block on; `acked` counts
    // blocks without wrapping, the wire carries its low 16 bits.
    std::deque<QByteArray> unacked;
    quint64 acked = 0;
    bool endRead = false;
    bool readFailed = false;

    auto fillWindow = [&] {
        while (!endRead && unacked.size() < size_t(windowSize)) {
            QByteArray packet(4 + blockSize, Qt::Uninitialized);
            const qint64 got = source.read(packet.data() + 4, blockSize);
            if (got < 0) {
                readFailed = true;
                return;
            }
            packet.truncate(4 + got);
            writeDataHeader(packet.data(), quint16(acked + unacked.size() + 1));
            unacked.push_back(std::move(packet));
            if (got < blockSize)
                endRead = true;
        }
    };
    auto sendWindow = [&] {
        for (const QByteArray &packet : unacked)
            session.send(packet);
    };

    QElapsedTimer clock;
    clock.start();
    bool optionsPending = !negotiated.answer.isEmpty();
    const QByteArray optionAck = buildOptionAck(negotiated.answer);
    auto sendPending = [&] {
        if (optionsPending)
            session.send(optionAck);
        else
            sendWindow();
    };
    auto advance = [&]() -> bool {
        fillWindow();
        if (readFailed) {
            session.send(buildError(ErrorCode::NotDefined, "Read error"));
            m_failure = file.errorString();
            m_outcome = Outcome::Failed;
            return false;
        }
        sendWindow();
        return true;
    };

    if (optionsPending)
        session.send(optionAck);
    else if (!advance())
        return;
    qint64 deadline = clock.elapsed() + retransmitMs;
    int retries = 0;
    QByteArray packet;

    for (;;) {
        switch (session.next(deadline, clock, packet)) {
        case Session::Event::Stopped:
            m_failure = QStringLiteral("stopped");
            m_outcome = Outcome::Failed;
            return;
        case Session::Event::TimedOut:
            if (++retries > m_timing.maxRetries) {
                m_failure = QStringLiteral("no answer from the client");
                m_outcome = Outcome::Failed;
                return;
            }
            sendPending();
            deadline = clock.elapsed() + retransmitMs;
            continue;
        case Session::Event::Packet:
            break;
        }

        if (const auto error = parseError(packet)) {
            m_failure = QStringLiteral("the client reported error %1: %2")
                            .arg(error->code).arg(QString::fromLatin1(error->message));
            // Declining our option answer ends the request before any data.
            m_outcome = optionsPending && error->code == quint16(ErrorCode::OptionsRefused)
                ? Outcome::NotStarted : Outcome::Failed;
            return;
        }
        const auto block = parseAck(packet);
        if (!block)
            continue;  // anything else from the client is noise here

        if (optionsPending) {
            if (*block != 0)
                continue;
            optionsPending = false;
        } else {
            // Only an acknowledgement of a block that is out and not yet
            // acknowledged moves on; duplicates and stale ones are ignored,
            // so no packet is ever sent twice in answer to one.
            const quint16 delta = quint16(*block - quint16(acked));
            if (delta == 0 || delta > unacked.size())
                continue;
            acked += delta;
            unacked.erase(unacked.begin(), unacked.begin() + delta);
            if (endRead && unacked.empty()) {
                m_outcome = Outcome::Succeeded;
                return;
            }
        }
        retries = 0;
        if (!advance())
            return;
        deadline = clock.elapsed() + retransmitMs;
    }
}

} // namespace Tftp
