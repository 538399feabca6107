#include "jobs/transfer/progressmodel.h"

#include <algorithm>
#include <limits>

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
        // Integer rounding, half up. Totals too large to multiply by 200
        // are scaled down first; a percent does not need their low bits.
        qint64 total = m_total;
        qint64 complete = m_complete;
        while (total > std::numeric_limits<qint64>::max() / 200) {
            total >>= 1;
            complete >>= 1;
        }
        m_percent = int((complete * 200 / total + 1) / 2);
    }
}
