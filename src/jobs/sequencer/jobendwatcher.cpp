#include "jobs/sequencer/jobendwatcher.h"

namespace {
// The flash rule reads the eleven last characters, the prompt rule two.
constexpr qsizetype TailKept = FlashWriterCompletion.size() + 1;
}

bool flashWriterFinishedIn(QByteArrayView s)
{
    const qsizetype n = FlashWriterCompletion.size();
    const QByteArrayView examined = s.size() <= n ? s : s.sliced(s.size() - n - 1, n);
    return examined == FlashWriterCompletion;
}

qsizetype promptMarkIndex(qsizetype length)
{
    if (length <= 0)
        return -1;
    return length == 1 ? 0 : length - 2;
}

void JobEndWatcher::restart()
{
    m_tail.clear();
    m_length = 0;
    m_lastCounted = -1;
}

JobEnd JobEndWatcher::take(const QString &jobCode, QByteArrayView chunk, QString &promptTally)
{
    const qsizetype nul = chunk.indexOf('\0');
    if (nul >= 0)
        chunk.truncate(nul);
    if (chunk.isEmpty())
        return JobEnd::None;

    m_tail.append(chunk.size() > TailKept ? chunk.last(TailKept) : chunk);
    if (m_tail.size() > TailKept)
        m_tail.remove(0, m_tail.size() - TailKept);
    m_length += chunk.size();
    // m_tail holds the received text from position tailStart on.
    const qint64 tailStart = m_length - m_tail.size();

    if (jobCode == u"1") {
        // The tail is either the whole text or its last TailKept characters,
        // which is all the rule reads.
        return flashWriterFinishedIn(m_tail) ? JobEnd::FlashWriterDone : JobEnd::None;
    }
    if (jobCode == u"2" || jobCode == u"3" || jobCode == u"4") {
        const qint64 mark = promptMarkIndex(m_length);
        if (mark > m_lastCounted && m_tail.at(mark - tailStart) == '$') {
            promptTally.append(u'$');
            m_lastCounted = mark;
        }
        return promptTally == u"$$$" ? JobEnd::ThirdPrompt : JobEnd::None;
    }
    return JobEnd::None;
}
