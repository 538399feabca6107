#include "discovery/neighbourlisting.h"
#include "fixturelines.h"

#include <QTest>

namespace {

using Boxes = QList<FoundBox>;

QStringList described(const Boxes &boxes)
{
    QStringList texts;
    for (const FoundBox &box : boxes)
        texts.append(box.address + u' ' + box.hardwareAddress);
    return texts;
}

} // namespace

class TestNeighbourListing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsListing_data();
    void windowsListing();
    void linuxListing_data();
    void linuxListing();
};

void TestNeighbourListing::windowsListing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("one box among the interface line, heading and other entries")
        << fixtureLines(QStringLiteral("windows-arp-one-box.txt"))
        << QStringList{QStringLiteral("192.168.178.31 ba-dd-ad-12-04-7f")};
    QTest::newRow("two boxes on two interfaces, in the listing's order")
        << fixtureLines(QStringLiteral("windows-arp-two-boxes.txt"))
        << QStringList{QStringLiteral("192.168.1.35 ba-dd-ad-00-1c-42"),
                       QStringLiteral("192.168.56.101 ba-dd-ad-00-1c-43")};
    QTest::newRow("the first line is never examined")
        << QStringList{QStringLiteral("  192.168.1.5  ba-dd-ad-00-00-05  dynamic"),
                       QStringLiteral("  192.168.1.6  ba-dd-ad-00-00-06  dynamic")}
        << QStringList{QStringLiteral("192.168.1.6 ba-dd-ad-00-00-06")};
    QTest::newRow("a listing of one line has nothing to examine")
        << QStringList{QStringLiteral("  192.168.1.5  ba-dd-ad-00-00-05  dynamic")} << QStringList{};
    QTest::newRow("capital letters and colons do not match")
        << QStringList{QString(), QStringLiteral("  192.168.1.7  BA-DD-AD-00-00-07  dynamic"),
                       QStringLiteral("  192.168.1.8  ba:dd:ad:00:00:08  dynamic")}
        << QStringList{};
    QTest::newRow("blank, one-field and short lines give no hardware address")
        << QStringList{QString(), QString(), QStringLiteral("     "), QStringLiteral("  192.168.1.9"),
                       QStringLiteral("192.168.1.9   "), QStringLiteral("  192.168.1.10  ba-dd-a")}
        << QStringList{};
    QTest::newRow("a tab is an ordinary character")
        << QStringList{QString(), QStringLiteral("192.168.1.11\tba-dd-ad-00-00-0b dynamic"),
                       QStringLiteral("192.168.1.12 ba-dd-ad-00-00-0c\tdynamic")}
        << QStringList{QStringLiteral("192.168.1.12 ba-dd-ad-00-00-0c\tdynamic")};
}

void TestNeighbourListing::windowsListing()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, boxes);
    QCOMPARE(described(findBoxesInWindowsListing(lines)), boxes);
}

void TestNeighbourListing::linuxListing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("reachable, stale, probing and permanent entries; failed and incomplete ones are not boxes")
        << fixtureLines(QStringLiteral("linux-ip-neigh-probing.txt"))
        << QStringList{QStringLiteral("10.233.90.60 ba-dd-ad-00-00-3c"),
                       QStringLiteral("10.233.90.20 ba-dd-ad-3c-00-14"),
                       QStringLiteral("10.233.90.40 ba-dd-ad-00-00-28")};
    QTest::newRow("router flag and delayed entries")
        << fixtureLines(QStringLiteral("linux-ip-neigh-router-failed.txt"))
        << QStringList{QStringLiteral("10.233.90.20 ba-dd-ad-3c-00-14"),
                       QStringLiteral("10.233.90.40 ba-dd-ad-00-00-28")};
    QTest::newRow("every line counts, capitals are written as Windows writes them")
        << QStringList{QStringLiteral("10.1.2.3 dev eth0 lladdr BA:DD:AD:0A:0B:0C REACHABLE")}
        << QStringList{QStringLiteral("10.1.2.3 ba-dd-ad-0a-0b-0c")};
    QTest::newRow("a failed entry that kept its hardware address is not a box")
        << QStringList{QStringLiteral("10.1.2.4 dev eth0 lladdr ba:dd:ad:00:00:04 FAILED")} << QStringList{};
    QTest::newRow("malformed lines")
        << QStringList{QString(), QStringLiteral("   "), QStringLiteral("10.1.2.5"),
                       QStringLiteral("10.1.2.6 dev eth0 lladdr"), QStringLiteral("lladdr ba:dd:ad:00:00:07"),
                       QStringLiteral("10.1.2.8 dev eth0 ba:dd:ad:00:00:08 REACHABLE"),
                       QStringLiteral("10.1.2.9 dev eth0 lladdr ba-dd REACHABLE")}
        << QStringList{};
}

void TestNeighbourListing::linuxListing()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, boxes);
    QCOMPARE(described(findBoxesInLinuxListing(lines)), boxes);
}

QTEST_GUILESS_MAIN(TestNeighbourListing)
#include "test_neighbourlisting.moc"
