#include "jobs/transfer/boxftp.h"
#include "support/awaittask.h"
#include "support/ftpserver.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBoxFtp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leasesAreHandedOutInOrder();
    void secondOperationWaitsForTheFirst();
    void transfersReportProgress_data();
    void transfersReportProgress();
    void connectWhileConnectedFails();
    void closingTheClientEndsAWaitingStep();
};

void TestBoxFtp::leasesAreHandedOutInOrder()
{
    BoxFtp ftp;
    BoxFtpLease first = awaitTask(ftp.acquire());
    QVERIFY(first.isValid());
    QCoro::Task<BoxFtpLease> second = ftp.acquire();
    QCoro::Task<BoxFtpLease> third = ftp.acquire();
    QCoreApplication::processEvents();
    QVERIFY(!second.isReady());
    QVERIFY(!third.isReady());

    first.release();
    QTRY_VERIFY(second.isReady());
    QVERIFY(!third.isReady());
    BoxFtpLease secondLease = awaitTask(std::move(second));
    QVERIFY(secondLease.isValid());
    const FtpResult stale = awaitTask(first.changeDirectory(u"/tmp"_s));
    QVERIFY(!stale.ok);
    QCOMPARE(stale.error, u"the box-file client is not held"_s);

    secondLease = BoxFtpLease();
    QTRY_VERIFY(third.isReady());
    const BoxFtpLease thirdLease = awaitTask(std::move(third));
    QVERIFY(thirdLease.isValid());
    QVERIFY(ftp.isLeased());
}

void TestBoxFtp::secondOperationWaitsForTheFirst()
{
    QTemporaryDir root;
    TestFtpServer server;
    QVERIFY2(server.start(root.path()), qPrintable(server.error()));
    BoxFtp ftp;
    QStringList log;
    const auto operation = [&](QString name, QByteArray data) -> QCoro::Task<> {
        BoxFtpLease lease = co_await ftp.acquire();
        log << name + u" begins"_s;
        FtpResult result = co_await lease.connectAndLogin(server.login(), 10000);
        if (result)
            result = co_await lease.storeData(data, name);
        log << name + (result ? u" stored"_s : u" failed: "_s + result.error);
        lease.disconnectFromHost();
        log << name + u" ends"_s;
    };
    QCoro::Task<> first = operation(u"fcp"_s, ftpTestPattern(2 * 1024 * 1024, 1));
    QCoro::Task<> second = operation(u"image.img"_s, ftpTestPattern(1000, 2));
    QTRY_VERIFY_WITH_TIMEOUT(first.isReady() && second.isReady(), 60000);
    QCOMPARE(log, (QStringList{u"fcp begins"_s, u"fcp stored"_s, u"fcp ends"_s,
                               u"image.img begins"_s, u"image.img stored"_s, u"image.img ends"_s}));
    QCOMPARE(readTestFile(root.filePath(u"fcp"_s)), ftpTestPattern(2 * 1024 * 1024, 1));
    QVERIFY(!ftp.isLeased());
    QVERIFY(!ftp.isConnected());
}

void TestBoxFtp::transfersReportProgress_data()
{
    QTest::addColumn<bool>("passive");
    QTest::newRow("active") << false;
    QTest::newRow("passive") << true;
}

void TestBoxFtp::transfersReportProgress()
{
    QFETCH(bool, passive);
    QTemporaryDir root, local;
    TestFtpServer server;
    QVERIFY2(server.start(root.path()), qPrintable(server.error()));
    BoxFtp ftp;
    ftp.setPassive(passive);
    QSignalSpy begins(&ftp, &BoxFtp::workBegin);
    QSignalSpy works(&ftp, &BoxFtp::work);
    BoxFtpLease lease = awaitTask(ftp.acquire());
    FtpResult result = awaitTask(lease.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));
    QVERIFY(lease.isConnected());

    const QByteArray image = ftpTestPattern(8 * 1024 * 1024 + 3, 4);
    QVERIFY(writeTestFile(local.filePath(u"image.bin"_s), image));
    result = awaitTask(lease.storeFile(local.filePath(u"image.bin"_s), u"image.img"_s));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(begins.size(), 1);
    QCOMPARE(begins.first().at(0).toLongLong(), image.size());
    qint64 previous = 0;
    for (const QList<QVariant> &signal : works) {
        QVERIFY(signal.at(0).toLongLong() >= previous);
        previous = signal.at(0).toLongLong();
    }
    QCOMPARE(previous, image.size());

    begins.clear();
    works.clear();
    result = awaitTask(lease.retrieve(u"image.img"_s, local.filePath(u"copy.bin"_s)));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(readTestFile(local.filePath(u"copy.bin"_s)), image);
    QCOMPARE(begins.size(), 1);
    QCOMPARE(begins.first().at(0).toLongLong(), 0);
    QCOMPARE(works.last().at(0).toLongLong(), image.size());

    lease.release();
    QVERIFY(!ftp.isConnected());
}

void TestBoxFtp::connectWhileConnectedFails()
{
    QTemporaryDir root;
    TestFtpServer server;
    QVERIFY2(server.start(root.path()), qPrintable(server.error()));
    BoxFtp ftp;
    BoxFtpLease lease = awaitTask(ftp.acquire());
    FtpResult result = awaitTask(lease.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));
    result = awaitTask(lease.connectAndLogin(server.login(), 10000));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, u"connect to 127.0.0.1: already connected"_s);
    QVERIFY(lease.isConnected());
    lease.disconnectFromHost();
    result = awaitTask(lease.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));
}

void TestBoxFtp::closingTheClientEndsAWaitingStep()
{
    QTemporaryDir root;
    TestFtpServer::Options options;
    options.silentAfterAccept = true;
    TestFtpServer server;
    QVERIFY2(server.start(root.path(), options), qPrintable(server.error()));
    auto *ftp = new BoxFtp;
    BoxFtpLease lease = awaitTask(ftp->acquire());
    QCoro::Task<FtpResult> connecting = lease.connectAndLogin(server.login(), 10000);
    QCoro::Task<BoxFtpLease> waiting = ftp->acquire();
    QTest::qWait(200);
    QVERIFY(!connecting.isReady());

    delete ftp;
    QVERIFY(connecting.isReady());
    QCOMPARE(awaitTask(std::move(connecting)).error, u"the box-file client was closed"_s);
    QVERIFY(waiting.isReady());
    QVERIFY(!awaitTask(std::move(waiting)).isValid());
    QVERIFY(!lease.isValid());
}

QTEST_GUILESS_MAIN(TestBoxFtp)
#include "test_boxftp.moc"
