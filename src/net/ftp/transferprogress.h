#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <functional>

// Thins out the progress of one transfer so that a fast transfer does not
// flood the receiver: a count is passed on once it has moved by 1 % of the
// total or 50 ms have passed; the final count always is.
class TransferProgress {
public:
    using Sink = std::function<void(qint64)>;

    TransferProgress(Sink onBegin, Sink onWork);

    void begin(qint64 max);
    void update(qint64 count);
    void finish(qint64 count);

private:
    Sink m_onBegin;
    Sink m_onWork;
    qint64 m_max = 0;
    qint64 m_lastSent = -1;
    QElapsedTimer m_sinceSent;
};
