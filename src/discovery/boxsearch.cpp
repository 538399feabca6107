#include "discovery/boxsearch.h"

#include "discovery/runcaptured.h"
#include "discovery/segmentprefix.h"
#include "discovery/segmentprobe.h"

#include <QThread>

SearchOutcome runBoxSearch(const QString &prefix, NeighbourSource &source)
{
    source.sendBroadcastEcho(broadcastAddress(prefix), kEchoTimeoutMs);
    if (probeSegment(prefix) > 0)
        QThread::msleep(kResolveWaitMs);
    SearchOutcome outcome;
    const ListingCommand command = source.listingCommand();
    outcome.commandSucceeded = RunCaptured(command.workingFolder, command.program, command.parameters,
                                           outcome.capturedLines, &outcome.startError);
    return outcome;
}

BoxSearch::BoxSearch(QObject *parent) : QObject(parent) {}

BoxSearch::~BoxSearch()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool BoxSearch::isRunning() const
{
    return m_thread != nullptr;
}

void BoxSearch::start(const QString &prefix)
{
    if (m_thread)
        return;
    m_source = makeNeighbourSource();
    m_outcome = std::make_shared<SearchOutcome>();
    m_thread = QThread::create([source = m_source, outcome = m_outcome, prefix] {
        *outcome = runBoxSearch(prefix, *source);
    });
    connect(m_thread, &QThread::finished, this, &BoxSearch::takeOutcome);
    m_thread->start();
}

QList<FoundBox> BoxSearch::findBoxes(const QStringList &listing) const
{
    return m_source ? m_source->findBoxes(listing) : QList<FoundBox>{};
}

void BoxSearch::takeOutcome()
{
    // finished is the thread's last signal; the wait only lets it return.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const SearchOutcome outcome = *m_outcome;
    Q_EMIT finished(outcome);
}
