#include "net/tftp/netascii.h"

#include <QIODevice>

#include <cstring>

namespace Tftp {

QByteArray toNetascii(QByteArrayView local)
{
    QByteArray wire;
    wire.reserve(local.size() + local.size() / 16 + 2);
    for (const char c : local) {
        if (c == '\n') {
            wire.append('\r');
            wire.append('\n');
        } else if (c == '\r') {
            wire.append('\r');
            wire.append('\0');
        } else {
            wire.append(c);
        }
    }
    return wire;
}

qint64 netasciiSize(QIODevice &device)
{
    const qint64 start = device.pos();
    qint64 size = 0;
    char chunk[16384];
    for (;;) {
        const qint64 got = device.read(chunk, sizeof chunk);
        if (got < 0) {
            device.seek(start);
            return -1;
        }
        if (got == 0)
            break;
        size += got;
        for (qint64 i = 0; i < got; ++i)
            if (chunk[i] == '\n' || chunk[i] == '\r')
                ++size;
    }
    if (!device.seek(start))
        return -1;
    return size;
}

qint64 BlockSource::read(char *out, qint64 size)
{
    if (!m_netascii)
        return m_device.read(out, size);

    qint64 filled = 0;
    while (filled < size) {
        if (m_pendingAt == m_pending.size()) {
            char chunk[8192];
            const qint64 got = m_device.read(chunk, sizeof chunk);
            if (got < 0)
                return -1;
            if (got == 0)
                break;
            m_pending = toNetascii(QByteArrayView(chunk, got));
            m_pendingAt = 0;
        }
        const qint64 take = std::min<qint64>(size - filled, m_pending.size() - m_pendingAt);
        std::memcpy(out + filled, m_pending.constData() + m_pendingAt, size_t(take));
        filled += take;
        m_pendingAt += take;
    }
    return filled;
}

} // namespace Tftp
