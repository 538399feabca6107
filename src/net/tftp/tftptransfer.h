#pragma once

#include "net/tftp/tftppacket.h"

#include <QHostAddress>
#include <QString>
#include <atomic>

// One read transfer from start to end, run on a worker thread of its own
// with its own UDP socket on a fresh port (the server's transfer id).
namespace Tftp {

struct Timing {
    int retransmitMs = 1000;  // used unless the client asks for "timeout"
    int maxRetries = 5;       // resends of one unanswered packet before giving up
};

struct Peer {
    QHostAddress address;
    quint16 port = 0;
    bool operator==(const Peer &) const = default;
};

enum class Outcome {
    NotStarted,  // the file could not be opened, or the client refused the options
    Succeeded,   // the last block was acknowledged
    Failed,      // the client went away or reported an error, or reading failed
};

class Transfer {
public:
    Transfer(Request request, QString fileName, Peer peer, QHostAddress localAddress, Timing timing);

    // The whole transfer; blocks the calling (worker) thread until it ends.
    void run();
    // Safe from any thread: the transfer ends at its next wake-up.
    void stop() { m_stop.store(true, std::memory_order_relaxed); }

    Outcome outcome() const { return m_outcome; }
    QString failure() const { return m_failure; }
    const Peer &peer() const { return m_peer; }

private:
    Request m_request;
    QString m_fileName;
    Peer m_peer;
    QHostAddress m_localAddress;
    Timing m_timing;
    std::atomic<bool> m_stop{false};
    Outcome m_outcome = Outcome::NotStarted;
    QString m_failure;
};

} // namespace Tftp
