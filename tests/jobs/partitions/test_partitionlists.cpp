#include "jobs/partitions/jobwindow.h"
#include "jobs/partitions/partitiontable.h"
#include "widgets/radiogroup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

using namespace Qt::StringLiterals;

// "MTD-Read" and "Select mtd" against the simulated box: the box's partition
// lines land in the page's list, and a failed read keeps the list it had.
class TestPartitionLists : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data();
    void read();
    void failedRead_data();
    void failedRead();
};

namespace {
constexpr int JobTimeout = 60000;

QStringList listed(JobWindow &w, const QString &button)
{
    QStringList items;
    if (button == u"RzButton6") {
        const auto *group = w.find<RadioGroup>(u"RzRadioGroup1"_s);
        for (int i = 0; i < group->count(); ++i)
            items.append(group->itemText(i));
    } else {
        const auto *combo = w.find<QComboBox>(u"ComboBox1"_s);
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
    }
    return items;
}
} // namespace

void TestPartitionLists::read_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("page");
    QTest::newRow("MTD-Read") << u"RzButton6"_s << u"TabSheet1"_s;
    QTest::newRow("Select mtd") << u"RzButton5"_s << u"Backup"_s;
}

void TestPartitionLists::read()
{
    QFETCH(QString, button);
    QFETCH(QString, page);

    JobWindow w;
    SimBoxOptions options;
    options.splitPrompt = true;
    QVERIFY2(w.open(options), qPrintable(w.errorString()));
    const QStringList table = PartitionTable::partitionLines(w.box().read(u"/proc/mtd"_s));
    QVERIFY(table.size() > 10);

    w.click(button);
    QTRY_COMPARE_WITH_TIMEOUT(listed(w, button), table, JobTimeout);
    QCOMPARE(w.currentPage(), page);
    QTRY_VERIFY_WITH_TIMEOUT(!w.box().exists(u"/tmp/mtd.txt"_s), JobTimeout);

    if (button == u"RzButton6") {
        QCOMPARE(w.find<RadioGroup>(u"RzRadioGroup1"_s)->checkedIndex(), -1);
    } else {
        auto *combo = w.find<QComboBox>(u"ComboBox1"_s);
        QVERIFY(combo->currentText().isEmpty());
        QVERIFY(combo->view()->isVisible());
        combo->hidePopup();
    }
    QVERIFY(!shownMessageBox());
}

void TestPartitionLists::failedRead_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("MTD-Read") << u"RzButton6"_s;
    QTest::newRow("Select mtd") << u"RzButton5"_s;
}

void TestPartitionLists::failedRead()
{
    QFETCH(QString, button);

    JobWindow w;
    SimBoxOptions options;
    options.ftp = false;
    QVERIFY2(w.open(options), qPrintable(w.errorString()));
    w.find<QComboBox>(u"ComboBox1"_s)->addItems({u"mtd3: 00060000 00004000 \"Root-FS\""_s});
    const QStringList before = listed(w, button);
    QCOMPARE(before.size(), 1);

    w.click(button);
    QMessageBox *box = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((box = shownMessageBox()) != nullptr, JobTimeout);
    QCOMPARE(box->text(), JobWindow::ErrorPrefix + u"3"_s);
    answer(box, QMessageBox::Ok);
    QCOMPARE(listed(w, button), before);
    QVERIFY(w.box().exists(u"/tmp/mtd.txt"_s));
}

QTEST_MAIN(TestPartitionLists)
#include "test_partitionlists.moc"
