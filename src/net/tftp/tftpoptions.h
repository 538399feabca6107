#pragma once

#include "net/tftp/tftppacket.h"

// The options of a read request that the server honours: "blksize",
// "tsize", "timeout" and "windowsize". Each is answered only when the client
// asked for it; unknown or unusable ones are left out of the answer, which
// tells the client to go on without them.
namespace Tftp {

inline constexpr int DefaultBlockSize = 512;
inline constexpr int MinBlockSize = 8;
inline constexpr int MaxBlockSize = 65464;
inline constexpr int MaxWindowSize = 256;

struct Negotiated {
    int blockSize = DefaultBlockSize;
    int windowSize = 1;
    int timeoutSeconds = 0;   // 0: the server's own retransmission time
    QList<Option> answer;     // what the option acknowledgement carries
};

// `transferSize` is the number of bytes that will be sent (after any line-end
// conversion), or a negative number when it is not known.
Negotiated negotiate(const QList<Option> &requested, qint64 transferSize);

// What a client's receive buffer is assumed to hold: half of Linux's
// default, since a client seldom enlarges it. A window that overflows it
// loses its tail every time it is sent and the transfer crawls.
inline constexpr qint64 AssumedClientBufferBytes = 212992 / 2;

// Lowers the window so that `windowSize` blocks fit both into `bufferBytes`
// of our send buffer and into the client's, and corrects the answer to match.
void capWindow(Negotiated &negotiated, qint64 bufferBytes);

// The socket buffer a window of data packets takes up, with the kernel's
// rounding and bookkeeping per datagram.
qint64 windowBufferBytes(int blockSize, int windowSize);

} // namespace Tftp
