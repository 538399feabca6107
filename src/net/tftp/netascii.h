#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

// Local text to TFTP's "netascii": every line feed becomes CR LF and every
// lone carriage return becomes CR NUL, so a receiver that reverses the
// conversion gets the original bytes back.
namespace Tftp {

QByteArray toNetascii(QByteArrayView local);

// The size of `device`'s content after conversion, read from its current
// position to the end; the position is restored. -1 when reading fails.
qint64 netasciiSize(QIODevice &device);

// Reads the bytes a transfer sends, converted when the mode asks for it,
// in pieces of any size.
class BlockSource {
public:
    BlockSource(QIODevice &device, bool netascii) : m_device(device), m_netascii(netascii) {}

    // Up to `size` bytes into `out`; fewer only at the end of the data.
    // -1 when the device cannot be read.
    qint64 read(char *out, qint64 size);

private:
    QIODevice &m_device;
    bool m_netascii;
    QByteArray m_pending;
    qsizetype m_pendingAt = 0;
};

} // namespace Tftp
