#include "boxsegment.h"

#include "discovery/boxsearch.h"
#include "discovery/localaddress.h"
#include "discovery/runcaptured.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The whole search against a segment of the test's own: a box that, like
// every Linux box, ignores echoes to the broadcast address and is not in the
// neighbour table yet.
class TestBoxSearchNamespace : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void broadcastEchoAloneDoesNotFindALinuxBox();
    void searchFindsTheBox();
    void localAddressIsTheSegmentsOwn();

private:
    std::unique_ptr<BoxSegment> m_segment;
    QTemporaryDir m_currentDir;
    QString m_previousDir;
};

void TestBoxSearchNamespace::init()
{
    m_segment = std::make_unique<BoxSegment>();
    if (!m_segment->failure().isEmpty())
        QSKIP(qPrintable(u"end-to-end search skipped: " + m_segment->failure()));
    QVERIFY(!m_segment->pcNeighbourTable().contains(QLatin1String(BoxSegment::boxAddress)));
    QVERIFY(m_currentDir.isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_currentDir.path());
}

void TestBoxSearchNamespace::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_segment.reset();
}

void TestBoxSearchNamespace::broadcastEchoAloneDoesNotFindALinuxBox()
{
    const NamespaceVisit visit(m_segment->pcNamespace());
    QVERIFY(visit.entered());
    const auto source = makePlatformNeighbourSource();
    source->sendBroadcastEcho(QStringLiteral("10.233.77.255"), kEchoTimeoutMs);
    QTest::qWait(1500);

    const ListingCommand command = source->listingCommand();
    QStringList listing;
    QVERIFY(RunCaptured(command.workingFolder, command.program, command.parameters, listing));
    QCOMPARE(source->findBoxes(listing), QList<FoundBox>{});
}

void TestBoxSearchNamespace::searchFindsTheBox()
{
    const NamespaceVisit visit(m_segment->pcNamespace());
    QVERIFY(visit.entered());
    BoxSearch search;
    QSignalSpy finished(&search, &BoxSearch::finished);
    search.start(QStringLiteral("10.233.77."));
    QVERIFY(search.isRunning());
    QVERIFY(finished.wait(60000));
    QVERIFY(!search.isRunning());

    const auto outcome = finished.first().first().value<SearchOutcome>();
    QVERIFY(outcome.commandSucceeded);
    const FoundBox box{QLatin1String(BoxSegment::boxAddress), QLatin1String(BoxSegment::boxHardwareAddress)};
    QCOMPARE(search.findBoxes(outcome.capturedLines), QList<FoundBox>{box});
    QVERIFY(!QFile::exists(captureFileName()));
}

void TestBoxSearchNamespace::localAddressIsTheSegmentsOwn()
{
    const NamespaceVisit visit(m_segment->pcNamespace());
    QVERIFY(visit.entered());
    QCOMPARE(LocalAddress::current(), QLatin1String(BoxSegment::pcAddress));
}

QTEST_GUILESS_MAIN(TestBoxSearchNamespace)
#include "test_boxsearch_namespace.moc"
