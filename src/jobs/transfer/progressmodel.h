#pragma once

#include <QtGlobal>

// The transfer-status bar's numbers: a total `TotalParts`, a count
// `PartsComplete` and the shown `Percent`.
class ProgressModel {
public:
    // A new total resets the count and the percentage to 0.
    void setTotalParts(qint64 total);
    // Clamped to 0 .. TotalParts; with a total, Percent follows, rounded to
    // the nearest integer.
    void setPartsComplete(qint64 count);
    void setPercent(int percent) { m_percent = percent; }

    qint64 totalParts() const { return m_total; }
    qint64 partsComplete() const { return m_complete; }
    int percent() const { return m_percent; }

    // The client's progress events.
    void workBegin(qint64 max)
    {
        setTotalParts(max);
        setPercent(0);
    }
    void work(qint64 count) { setPartsComplete(count); }

private:
    qint64 m_total = 0;
    qint64 m_complete = 0;
    int m_percent = 0;
};
