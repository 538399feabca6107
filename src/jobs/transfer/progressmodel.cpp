#include "jobs/transfer/progressmodel.h"

#include <algorithm>

void ProgressModel::setTotalParts(qint64 total)
{
    if (total == m_total)
        return;
    m_total = total;
    m_complete = 0;
    m_percent = 0;
}

void ProgressModel::setPartsComplete(qint64 count)
{
    m_complete = std::clamp<qint64>(count, 0, std::max<qint64>(m_total, 0));
    if (m_total > 0) {
        // Exact integer rounding, half up, without overflow for large files.
        const qint64 whole = m_complete / m_total;
        const qint64 rest = m_complete % m_total;
        const qint64 restPercentTimesTwo = (rest * 200) / m_total;  // rest < total
        m_percent = int(whole * 100 + (restPercentTimesTwo + 1) / 2);
    }
}
