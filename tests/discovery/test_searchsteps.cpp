#include "discovery/runcaptured.h"
#include "discovery/segmentprefix.h"
#include "discovery/segmentprobe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QNetworkDatagram>
#include <QUdpSocket>

class TestSearchSteps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void segmentPrefix_data();
    void segmentPrefix();
    void probeReachesEveryHostOfTheSegment();
    void probeOfAPrefixThatIsNoAddress();
    void runCaptured_data();
    void runCaptured();
    void captureFileLiesInTheCurrentDirectory();

private:
    QTemporaryDir m_currentDir;
    QString m_previousDir;
};

void TestSearchSteps::init()
{
    QVERIFY(m_currentDir.isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_currentDir.path()));
}

void TestSearchSteps::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

void TestSearchSteps::segmentPrefix_data()
{
    QTest::addColumn<QString>("pcAddress");
    QTest::addColumn<bool>("hasSegment");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("PC address") << QStringLiteral("192.168.1.20") << true << QStringLiteral("192.168.1.");
    QTest::newRow("fields of other widths") << QStringLiteral("10.0.0.7") << true << QStringLiteral("10.0.0.");
    QTest::newRow("the rest after the third dot is not used")
        << QStringLiteral("172.16.5.1.99x") << true << QStringLiteral("172.16.5.");
    QTest::newRow("three dots and nothing else") << QStringLiteral("...") << true << QStringLiteral("...");
    QTest::newRow("empty field") << QString() << false << QString();
    QTest::newRow("two dots") << QStringLiteral("192.168.1") << false << QString();
    QTest::newRow("host name") << QStringLiteral("vexa") << false << QString();
}

void TestSearchSteps::segmentPrefix()
{
    QFETCH(QString, pcAddress);
    QFETCH(bool, hasSegment);
    QFETCH(QString, prefix);

    const std::optional<QString> found = ::segmentPrefix(pcAddress);
    QCOMPARE(found.has_value(), hasSegment);
    if (hasSegment)
        QCOMPARE(*found, prefix);
}

void TestSearchSteps::probeReachesEveryHostOfTheSegment()
{
    // Loopback's segment 127.0.0.x: the datagram to .1 lands in our socket.
    QUdpSocket receiver;
    QVERIFY(receiver.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    QCOMPARE(broadcastAddress(QStringLiteral("127.0.0.")), QStringLiteral("127.0.0.255"));
    QCOMPARE(probeSegment(QStringLiteral("127.0.0."), receiver.localPort()), 254);
    QTRY_VERIFY_WITH_TIMEOUT(receiver.hasPendingDatagrams(), 10000);
    QCOMPARE(receiver.receiveDatagram().senderAddress().toString(), QStringLiteral("127.0.0.1"));
}

void TestSearchSteps::probeOfAPrefixThatIsNoAddress()
{
    QCOMPARE(probeSegment(QStringLiteral("...")), 0);
    QCOMPARE(probeSegment(QStringLiteral("a.b.c.")), 0);
    QCOMPARE(probeSegment(QStringLiteral("300.1.1.")), 0);
}

void TestSearchSteps::runCaptured_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("started");

    QTest::newRow("lines in order, empty ones and carriage returns included")
        << QStringLiteral("sh") << QStringLiteral("-c \"printf '\\nfirst\\r\\n  second\\n\\nlast'\"") << true
        << QStringList{QString(), QStringLiteral("first"), QStringLiteral("  second"), QString(),
                       QStringLiteral("last")}
        << true;
    QTest::newRow("exit code other than 0: false, the output is kept")
        << QStringLiteral("sh") << QStringLiteral("-c \"echo partial; exit 3\"") << false
        << QStringList{QStringLiteral("partial")} << true;
    QTest::newRow("standard error is not captured")
        << QStringLiteral("sh") << QStringLiteral("-c \"echo out; echo err >&2\"") << true
        << QStringList{QStringLiteral("out")} << true;
    QTest::newRow("no output") << QStringLiteral("true") << QString() << true << QStringList{} << true;
    QTest::newRow("program that cannot be started")
        << QStringLiteral("boxwart-no-such-program") << QStringLiteral("-a") << false << QStringList{} << false;
}

void TestSearchSteps::runCaptured()
{
    QFETCH(QString, program);
    QFETCH(QString, parameters);
    QFETCH(bool, result);
    QFETCH(QStringList, lines);
    QFETCH(bool, started);

    // A capture file left from before is replaced, and gone afterwards.
    QFile stale(captureFileName());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("stale line\n");
    stale.close();

    QStringList captured{QStringLiteral("kept")};
    QString startError;
    QCOMPARE(RunCaptured(QDir::tempPath(), program, parameters, captured, &startError), result);
    QCOMPARE(captured, QStringList{QStringLiteral("kept")} + lines);
    QCOMPARE(startError.isEmpty(), started);
    QVERIFY(!QFile::exists(captureFileName()));
}

void TestSearchSteps::captureFileLiesInTheCurrentDirectory()
{
    // The command runs in the working folder, its output goes to the
    // program's current directory.
    QTemporaryDir workingFolder;
    QVERIFY(workingFolder.isValid());
    const QString captureFile = QDir::current().absoluteFilePath(captureFileName());
    QStringList captured;
    QVERIFY(RunCaptured(workingFolder.path(), QStringLiteral("sh"),
                        u"-c \"pwd; test -e '" + captureFile + u"'\"", captured));
    QCOMPARE(captured, QStringList{QDir(workingFolder.path()).canonicalPath()});
    QVERIFY(!QFile::exists(captureFile));
}

QTEST_GUILESS_MAIN(TestSearchSteps)
#include "test_searchsteps.moc"
