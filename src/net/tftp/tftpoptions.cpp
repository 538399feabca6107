#include "net/tftp/tftpoptions.h"

#include <algorithm>

namespace Tftp {

namespace {

std::optional<qint64> numberOf(const QByteArray &value)
{
    bool ok = false;
    const qint64 number = value.trimmed().toLongLong(&ok, 10);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

bool sameName(const QByteArray &a, const char *b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

Negotiated negotiate(const QList<Option> &requested, qint64 transferSize)
{
    Negotiated result;
    bool seenBlockSize = false, seenSize = false, seenTimeout = false, seenWindow = false;
    for (const Option &option : requested) {
        const auto number = numberOf(option.value);
        if (sameName(option.name, "blksize") && !seenBlockSize) {
            seenBlockSize = true;
            if (!number || *number < MinBlockSize)
                continue;
            result.blockSize = int(std::min<qint64>(*number, MaxBlockSize));
            result.answer.append({option.name, QByteArray::number(result.blockSize)});
        } else if (sameName(option.name, "tsize") && !seenSize) {
            seenSize = true;
            if (transferSize < 0)
                continue;
            result.answer.append({option.name, QByteArray::number(transferSize)});
        } else if (sameName(option.name, "timeout") && !seenTimeout) {
            seenTimeout = true;
            if (!number || *number < 1 || *number > 255)
                continue;
            result.timeoutSeconds = int(*number);
            result.answer.append({option.name, QByteArray::number(result.timeoutSeconds)});
        } else if (sameName(option.name, "windowsize") && !seenWindow) {
            seenWindow = true;
            if (!number || *number < 1 || *number > 65535)
                continue;
            result.windowSize = int(std::min<qint64>(*number, MaxWindowSize));
            result.answer.append({option.name, QByteArray::number(result.windowSize)});
        }
    }
    return result;
}

qint64 windowBufferBytes(int blockSize, int windowSize)
{
    // Linux charges each queued datagram with the true size of its buffer:
    // payload and headers rounded up to a power of two, plus the bookkeeping.
    const qint64 packet = blockSize + 4 + 28 + 320;
    qint64 slab = 512;
    while (slab < packet)
        slab *= 2;
    return qint64(windowSize) * (slab + 256);
}

void capWindow(Negotiated &negotiated, qint64 bufferBytes)
{
    const qint64 budget = std::min(bufferBytes, AssumedClientBufferBytes);
    int fitting = negotiated.windowSize;
    while (fitting > 1 && windowBufferBytes(negotiated.blockSize, fitting) > budget)
        --fitting;
    if (fitting == negotiated.windowSize)
        return;
    negotiated.windowSize = fitting;
    for (Option &option : negotiated.answer)
        if (sameName(option.name, "windowsize"))
            option.value = QByteArray::number(fitting);
}

} // namespace Tftp
