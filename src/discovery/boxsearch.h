#pragma once

#include "discovery/neighboursource.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>
#include <memory>

class QThread;

// What one search brought back from the system.
struct SearchOutcome {
    QStringList capturedLines; // the listing command's output, line by line
    bool commandSucceeded = false;
    QString startError; // set when the listing command could not be started
};
Q_DECLARE_METATYPE(SearchOutcome)

// Time-out of the broadcast echo.
constexpr int kEchoTimeoutMs = 100;
// How long the system gets to resolve the probed addresses.
constexpr int kResolveWaitMs = 1000;

// The search's steps against the system, in order: one echo to the
// segment's broadcast address, a probe of every address of the segment, a
// short wait, then the listing of the neighbour table. Blocks for about a
// second; the window runs it through BoxSearch.
SearchOutcome runBoxSearch(const QString &prefix, NeighbourSource &source);

// Runs runBoxSearch on a thread of its own and reports back on the thread
// that started it.
class BoxSearch : public QObject {
    Q_OBJECT

public:
    explicit BoxSearch(QObject *parent = nullptr);
    ~BoxSearch() override;

    bool isRunning() const;
    // Ignored while a search runs.
    void start(const QString &prefix);
    // The rules of the listing the last started search asked for.
    QList<FoundBox> findBoxes(const QStringList &listing) const;

Q_SIGNALS:
    void finished(const SearchOutcome &outcome);

private:
    void takeOutcome();

    std::shared_ptr<NeighbourSource> m_source;
    std::shared_ptr<SearchOutcome> m_outcome;
    QThread *m_thread = nullptr;
};
