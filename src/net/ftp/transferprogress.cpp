#include "net/ftp/transferprogress.h"

#include <utility>

namespace {
constexpr qint64 MinIntervalMs = 50;
}

TransferProgress::TransferProgress(Sink onBegin, Sink onWork)
    : m_onBegin(std::move(onBegin)), m_onWork(std::move(onWork))
{
}

void TransferProgress::begin(qint64 max)
{
    m_max = max;
    m_lastSent = 0;
    m_sinceSent.start();
    m_onBegin(max);
}

void TransferProgress::update(qint64 count)
{
    if (count == m_lastSent)
        return;
    const bool movedOnePercent = m_max > 0 && (count - m_lastSent) * 100 >= m_max;
    if (!movedOnePercent && m_sinceSent.elapsed() < MinIntervalMs)
        return;
    m_lastSent = count;
    m_sinceSent.start();
    m_onWork(count);
}

void TransferProgress::finish(qint64 count)
{
    if (count == m_lastSent)
        return;
    m_lastSent = count;
    m_onWork(count);
}
