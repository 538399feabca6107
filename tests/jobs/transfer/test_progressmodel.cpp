#include "jobs/transfer/progressmodel.h"

#include <QTest>

class TestProgressModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void partsComplete_data();
    void partsComplete();
    void newTotalResets();
};

void TestProgressModel::partsComplete_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("complete");
    QTest::addColumn<int>("percent");

    QTest::newRow("half") << qint64(200) << qint64(100) << qint64(100) << 50;
    QTest::newRow("rounded up") << qint64(3) << qint64(2) << qint64(2) << 67;
    QTest::newRow("rounded down") << qint64(3) << qint64(1) << qint64(1) << 33;
    QTest::newRow("half a percent rounds up") << qint64(200) << qint64(1) << qint64(1) << 1;
    QTest::newRow("just under half a percent") << qint64(1000) << qint64(4) << qint64(4) << 0;
    QTest::newRow("all") << qint64(12345) << qint64(12345) << qint64(12345) << 100;
    QTest::newRow("clamped to the total") << qint64(100) << qint64(150) << qint64(100) << 100;
    QTest::newRow("negative count") << qint64(100) << qint64(-5) << qint64(0) << 0;
    QTest::newRow("download: no total") << qint64(0) << qint64(5000) << qint64(0) << 0;
    QTest::newRow("file over 4 GiB") << (qint64(9) << 30) << (qint64(3) << 30) << (qint64(3) << 30) << 33;
    QTest::newRow("huge total, last byte") << (qint64(1) << 56) << ((qint64(1) << 56) - 1) << ((qint64(1) << 56) - 1) << 100;
}

void TestProgressModel::partsComplete()
{
    QFETCH(qint64, total);
    QFETCH(qint64, count);
    ProgressModel model;
    model.workBegin(total);
    QCOMPARE(model.percent(), 0);
    model.work(count);
    QTEST(model.partsComplete(), "complete");
    QTEST(model.percent(), "percent");
}

void TestProgressModel::newTotalResets()
{
    ProgressModel model;
    model.workBegin(1000);
    model.work(600);
    model.workBegin(1000);  // same total: the count stays, the bar shows 0 %
    QCOMPARE(model.partsComplete(), 600);
    QCOMPARE(model.percent(), 0);
    model.setTotalParts(2000);
    QCOMPARE(model.partsComplete(), 0);
    QCOMPARE(model.percent(), 0);
    model.workBegin(0);  // a download after an upload
    model.work(1500);
    QCOMPARE(model.partsComplete(), 0);
    QCOMPARE(model.percent(), 0);
}

QTEST_GUILESS_MAIN(TestProgressModel)
#include "test_progressmodel.moc"
