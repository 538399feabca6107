#include "jobs/sequencer/jobendwatcher.h"
#include "jobs/sequencer/joblines.h"

#include <QTest>

using Chunks = QList<QByteArray>;
using Indexes = QList<int>;

class TestJobEndRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endOfJob_data();
    void endOfJob();
    void onlyAShortTailIsKept();
    void commandLines_data();
    void commandLines();
};

void TestJobEndRules::endOfJob_data()
{
    QTest::addColumn<QString>("jobCode");
    QTest::addColumn<Chunks>("chunks");   // as received on one connection
    QTest::addColumn<Indexes>("endsAt");  // the chunks after which the job's end is seen
    QTest::addColumn<QString>("tally");   // PromptTally after the last chunk

    const QByteArray verified = "Verifying data: 1024k/1024k (100%)\r\n";
    QTest::newRow("1: last line and prompt in one chunk") << u"1"_qs << Chunks{verified + "$ "} << Indexes{0} << u""_qs;
    QTest::newRow("1: prompt's dollar last in the chunk") << u"1"_qs << Chunks{verified + "$"} << Indexes{} << u""_qs;
    QTest::newRow("1: exactly the completion text") << u"1"_qs << Chunks{" (100%)\r\n$"} << Indexes{0} << u""_qs;
    QTest::newRow("1: earlier phase's line") << u"1"_qs
            << Chunks{"Erasing blocks: 16/16 (100%)\r\nWriting data: 0k/1024k (0%)"} << Indexes{} << u""_qs;
    QTest::newRow("1: prompt in a read of its own") << u"1"_qs << Chunks{verified, "$ "} << Indexes{1} << u""_qs;
    QTest::newRow("1: split after the dollar") << u"1"_qs << Chunks{verified + "$", " "} << Indexes{1} << u""_qs;
    QTest::newRow("1: line cut in the middle") << u"1"_qs
            << Chunks{"Verifying data: 1024k/1024k (10", "0%)\r", "\n$ "} << Indexes{2} << u""_qs;
    QTest::newRow("1: examined up to a NUL") << u"1"_qs
            << Chunks{verified + "$ " + QByteArray(1, '\0') + "junk"} << Indexes{0} << u""_qs;
    QTest::newRow("1: a chunk that is only a NUL adds nothing") << u"1"_qs
            << Chunks{verified + "$", QByteArray(1, '\0') + "xy", " "} << Indexes{2} << u""_qs;

    QTest::newRow("2: dollar and blank") << u"2"_qs << Chunks{"$ "} << Indexes{} << u"$"_qs;
    QTest::newRow("2: the one-character text") << u"2"_qs << Chunks{"$"} << Indexes{} << u"$"_qs;
    QTest::newRow("2: dollar last, something else before") << u"2"_qs << Chunks{"price 5$"} << Indexes{} << u""_qs;
    QTest::newRow("2: two dollars and a blank add one") << u"2"_qs << Chunks{"$$ "} << Indexes{} << u"$"_qs;
    QTest::newRow("3: third prompt ends the job") << u"3"_qs
            << Chunks{"\r\nvexa login: ", "root\r\n$ ", "vexa\r\nsh: vexa: not found\r\n$ ",
                      "cat /dev/mtd/3 > /tmp/save.img\r\n$ "}
            << Indexes{3} << u"$$$"_qs;
    QTest::newRow("4: prompts split after the dollar count once each") << u"4"_qs
            << Chunks{"root\r\n$", " ", "vexa\r\n", "$", " ", "cat /proc/mtd > /tmp/mtd.txt\r\n$", " "}
            << Indexes{6} << u"$$$"_qs;
    QTest::newRow("2: a lone dollar first and its blank later count once") << u"2"_qs << Chunks{"$", " "}
            << Indexes{} << u"$"_qs;
    QTest::newRow("4: a fourth prompt leaves the job unfinished") << u"4"_qs
            << Chunks{"$ ", "$ ", "$ ", "$ "} << Indexes{2} << u"$$$$"_qs;
    QTest::newRow("2: prompt behind a NUL is not seen") << u"2"_qs
            << Chunks{"ab" + QByteArray(1, '\0') + "$ "} << Indexes{} << u""_qs;
    QTest::newRow("5: prompts change nothing") << u"5"_qs << Chunks{"$ ", "$ ", "$ "} << Indexes{} << u""_qs;
    QTest::newRow("6: prompts change nothing") << u"6"_qs << Chunks{"$ ", "$ ", "$ "} << Indexes{} << u""_qs;
}

void TestJobEndRules::endOfJob()
{
    QFETCH(QString, jobCode);
    QFETCH(Chunks, chunks);
    QFETCH(Indexes, endsAt);
    QFETCH(QString, tally);

    JobEndWatcher watcher;
    QString promptTally;
    Indexes seen;
    for (int i = 0; i < chunks.size(); ++i) {
        if (watcher.take(jobCode, chunks.at(i), promptTally) != JobEnd::None)
            seen.append(i);
    }
    QCOMPARE(seen, endsAt);
    QCOMPARE(promptTally, tally);
}

// A flash job prints for minutes; the watcher must see the end after any
// amount of text and a restart must forget what came before.
void TestJobEndRules::onlyAShortTailIsKept()
{
    JobEndWatcher watcher;
    QString tally;
    const QByteArray progress = "\rWriting data: 512k/1024k (50%)";
    for (int i = 0; i < 5000; ++i)
        QCOMPARE(watcher.take(u"1"_qs, progress, tally), JobEnd::None);
    QCOMPARE(watcher.take(u"1"_qs, "\r\nVerifying data: 1024k/1024k (100%)\r\n$", tally), JobEnd::None);
    QCOMPARE(watcher.take(u"1"_qs, " ", tally), JobEnd::FlashWriterDone);

    watcher.restart();
    QCOMPARE(watcher.take(u"2"_qs, " ", tally), JobEnd::None);
    QCOMPARE(tally, QString());
}

void TestJobEndRules::commandLines_data()
{
    QTest::addColumn<QString>("jobCode");
    QTest::addColumn<QString>("targetMtd");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("pauses");

    QTest::newRow("1") << u"1"_qs << u"3"_qs
            << QStringList{u"chmod 755 /var/tmp/fcp\r"_qs, u"/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/3\r"_qs}
            << QList<int>{2000, 0};
    QTest::newRow("2") << u"2"_qs << QString() << QStringList{u"cat /proc/mtd > /tmp/mtd.txt\r"_qs} << QList<int>{0};
    QTest::newRow("3") << u"3"_qs << u"12"_qs << QStringList{u"cat /dev/mtd/12 > /tmp/save.img\r"_qs} << QList<int>{0};
    QTest::newRow("4") << u"4"_qs << QString() << QStringList{u"cat /proc/mtd > /tmp/mtd.txt\r"_qs} << QList<int>{0};
    QTest::newRow("5") << u"5"_qs << QString()
            << QStringList{u"/bin/mount /dev/ide/host0/bus0/target0/lun0/disc /mnt/hd\r"_qs} << QList<int>{2000};
    QTest::newRow("6") << u"6"_qs << QString()
            << QStringList{u"/sbin/hdparm -S 5 /dev/ide/host0/bus0/target0/lun0/disc &\r"_qs,
                           u"/bin/umount /dev/ide/host0/bus0/target0/lun0/disc &\r"_qs}
            << QList<int>{2000, 2000};
    QTest::newRow("unknown job types nothing") << u"7"_qs << u"3"_qs << QStringList{} << QList<int>{};
}

void TestJobEndRules::commandLines()
{
    QFETCH(QString, jobCode);
    QFETCH(QString, targetMtd);
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, pauses);

    const auto typed = jobCommandLines(jobCode, targetMtd);
    QVERIFY(typed);
    QStringList texts;
    QList<int> waits;
    for (const TypedLine &line : *typed) {
        texts.append(line.text);
        waits.append(line.pauseAfterMs);
    }
    QCOMPARE(texts, lines);
    QCOMPARE(waits, pauses);

    // A partition that is not a number never reaches the box's shell.
    if (jobCode == u"1" || jobCode == u"3") {
        QVERIFY(!jobCommandLines(jobCode, u"3; rm -rf /"_qs));
        QVERIFY(!jobCommandLines(jobCode, QString()));
    }
}

QTEST_GUILESS_MAIN(TestJobEndRules)
#include "test_jobendrules.moc"
