#include "boxsegment.h"

#include "discovery/boxsearch.h"
#include "discovery/localaddress.h"
#include "discovery/runcaptured.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#define SKIP_WITHOUT(segment)                                                                                        \
    if (!(segment).failure().isEmpty())                                                                             \
        QSKIP(qPrintable(u"end-to-end search skipped: " + (segment).failure()));                                    \
    QVERIFY(!(segment).pcNeighbourTable().contains(QLatin1String(BoxSegment::boxAddress)))

// The whole search against a segment of the test's own: a box that, like
// every Linux box, ignores echoes to the broadcast address and is not in the
// neighbour table yet.
class TestBoxSearchNamespace : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void broadcastEchoReachesTheSegment_data();
    void broadcastEchoReachesTheSegment();
    void broadcastEchoAloneDoesNotFindALinuxBox();
    void searchFindsTheBox();
    void localAddressIsTheSegmentsOwn_data();
    void localAddressIsTheSegmentsOwn();

private:
    QTemporaryDir m_currentDir;
    QString m_previousDir;
};

void TestBoxSearchNamespace::init()
{
    QVERIFY(m_currentDir.isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_currentDir.path());
}

void TestBoxSearchNamespace::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

void TestBoxSearchNamespace::broadcastEchoReachesTheSegment_data()
{
    QTest::addColumn<bool>("unprivilegedEcho");
    QTest::newRow("own ICMP datagram socket") << true;
    QTest::newRow("system ping where the system admits no such socket") << false;
}

void TestBoxSearchNamespace::broadcastEchoReachesTheSegment()
{
    // A box that does answer broadcast echoes asks for the PC's hardware
    // address first, and so lands in the PC's table.
    QFETCH(bool, unprivilegedEcho);
    const BoxSegment segment({.boxAnswersBroadcastEcho = true, .pcAllowsUnprivilegedEcho = unprivilegedEcho});
    SKIP_WITHOUT(segment);
    {
        const NamespaceVisit visit(segment.pcNamespace());
        QVERIFY(visit.entered());
        makePlatformNeighbourSource()->sendBroadcastEcho(QStringLiteral("10.233.77.255"), kEchoTimeoutMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(segment.pcNeighbourTable().contains(QLatin1String(BoxSegment::boxAddress)), 20000);
}

void TestBoxSearchNamespace::broadcastEchoAloneDoesNotFindALinuxBox()
{
    const BoxSegment segment;
    SKIP_WITHOUT(segment);
    const NamespaceVisit visit(segment.pcNamespace());
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
    const BoxSegment segment;
    SKIP_WITHOUT(segment);
    const NamespaceVisit visit(segment.pcNamespace());
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

void TestBoxSearchNamespace::localAddressIsTheSegmentsOwn_data()
{
    QTest::addColumn<bool>("idleLinkFirst");
    QTest::newRow("one link") << false;
    QTest::newRow("a link without carrier comes first") << true;
}

void TestBoxSearchNamespace::localAddressIsTheSegmentsOwn()
{
    QFETCH(bool, idleLinkFirst);
    const BoxSegment segment({.pcHasIdleLinkFirst = idleLinkFirst});
    SKIP_WITHOUT(segment);
    const NamespaceVisit visit(segment.pcNamespace());
    QVERIFY(visit.entered());
    QCOMPARE(LocalAddress::current(), QLatin1String(BoxSegment::pcAddress));
}

QTEST_GUILESS_MAIN(TestBoxSearchNamespace)
#include "test_boxsearch_namespace.moc"
