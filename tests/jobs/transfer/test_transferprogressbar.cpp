#include "jobs/transfer/boxftp.h"
#include "jobs/transfer/transferprogressbinding.h"
#include "support/awaittask.h"
#include "support/ftpserver.h"

#include <QApplication>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTransferProgressBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void barFollowsTransfers();
};

void TestTransferProgressBar::barFollowsTransfers()
{
    QTemporaryDir root, local;
    TestFtpServer server;
    QVERIFY2(server.start(root.path()), qPrintable(server.error()));
    QMainWindow window;
    auto *bar = new QProgressBar;
    bar->setObjectName(u"RzProgressBar1"_s);
    window.statusBar()->addPermanentWidget(bar);
    window.show();
    BoxFtp *ftp = attachBoxFileTransfer(&window);
    QCOMPARE(window.findChild<BoxFtp *>(u"IdFTP1"_s), ftp);
    QList<int> shown;
    connect(bar, &QProgressBar::valueChanged, this, [&shown](int value) { shown << value; });

    BoxFtpLease lease = awaitTask(ftp->acquire());
    FtpResult result = awaitTask(lease.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));

    // An upload runs the bar from 0 to 100 %.
    result = awaitTask(lease.storeData(ftpTestPattern(4 * 1024 * 1024, 5), u"image.img"_s));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(bar->value(), 100);
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.first(), 0);
    QVERIFY(std::is_sorted(shown.cbegin(), shown.cend()));

    // A download has no total: the bar drops to 0 % and stays there.
    shown.clear();
    result = awaitTask(lease.retrieve(u"image.img"_s, local.filePath(u"image.img"_s)));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(shown, QList<int>{0});
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestTransferProgressBar)
#include "test_transferprogressbar.moc"
