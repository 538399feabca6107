#include "jobs/partitions/partitionnumber.h"
#include "jobs/partitions/partitiontable.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPartitionTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void partitionLines_data();
    void partitionLines();
    void partitionNumber_data();
    void partitionNumber();
    void flashPartition_data();
    void flashPartition();
};

void TestPartitionTable::partitionLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("kernel table") << QByteArray("dev:    size   erasesize  name\n"
                                                "mtd0: 00040000 00020000 \"boot\"\n"
                                                "mtd1: 00100000 00020000 \"root fs\"\n")
                                  << QStringList{u"mtd0: 00040000 00020000 \"boot\""_s,
                                                 u"mtd1: 00100000 00020000 \"root fs\""_s};
    QTest::newRow("crlf and no final line end") << QByteArray("dev: x\r\nmtd2: a \"b\"\r\nmtd10: c \"d\"\r")
                                                << QStringList{u"mtd2: a \"b\""_s, u"mtd10: c \"d\""_s};
    QTest::newRow("only the text before the first colon counts")
        << QByteArray("mtdblock: x\nMTD1: y\nx mtd1: z\nmtd\nname \"mtd1:\"\nmtd: w:v\n")
        << QStringList{u"mtdblock: x"_s, u"mtd: w:v"_s};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("garbage") << QByteArray("\0\xff\xfe:\n\r\r\n:::\nmtd\0x:\xc3", 19)
                             << QStringList{QString::fromUtf8("mtd\0x:\xc3", 7)};
}

void TestPartitionTable::partitionLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    QCOMPARE(PartitionTable::partitionLines(file), lines);
}

void TestPartitionTable::partitionNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");

    QTest::newRow("table line") << u"mtd3: 00100000 00020000 \"kernel\""_s << u"3"_s;
    QTest::newRow("two digits stay whole") << u"mtd10: 00100000 00020000 \"var\""_s << u"10"_s;
    QTest::newRow("typed number") << u"mtd12"_s << u"12"_s;
    QTest::newRow("typed number and blank") << u"mtd4 backup"_s << u"4"_s;
    QTest::newRow("no digits") << u"mtd: x"_s << QString();
    QTest::newRow("letters after the digits") << u"mtd1a: x"_s << QString();
    QTest::newRow("block device name") << u"mtdblock2"_s << QString();
    QTest::newRow("capitals") << u"MTD1: x"_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("non-latin digit") << u"mtd\u0663"_s << QString();
}

void TestPartitionTable::partitionNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, number);
    QCOMPARE(PartitionNumber::of(text), number);
}

void TestPartitionTable::flashPartition_data()
{
    QTest::addColumn<bool>("holdsTable");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("partition");

    QTest::newRow("default item") << false << 1 << 0 << u"mtd4 is standard"_s << u"2"_s;
    QTest::newRow("default item not chosen") << false << 1 << -1 << u"mtd4 is standard"_s << u"2"_s;
    QTest::newRow("empty list") << false << 0 << -1 << QString() << QString();
    QTest::newRow("chosen line") << true << 3 << 1 << u"mtd1: 0 0 \"a\""_s << u"1"_s;
    QTest::newRow("chosen line ten and above") << true << 12 << 11 << u"mtd11: 0 0 \"a\""_s << u"11"_s;
    QTest::newRow("a table of one line") << true << 1 << 0 << u"mtd0: 0 0 \"all\""_s << u"0"_s;
    QTest::newRow("none chosen") << true << 3 << -1 << QString() << QString();
    QTest::newRow("read table empty") << true << 0 << -1 << QString() << QString();
}

void TestPartitionTable::flashPartition()
{
    QFETCH(bool, holdsTable);
    QFETCH(int, count);
    QFETCH(int, chosen);
    QFETCH(QString, text);
    QFETCH(QString, partition);
    QCOMPARE(PartitionNumber::toFlash(holdsTable, count, chosen, text), partition);
}

QTEST_APPLESS_MAIN(TestPartitionTable)
#include "test_partitiontable.moc"
