#include "app/core/settingsstore.h"
#include "app/mainwindow.h"
#include "jobs/partitions/jobwindow.h"
#include "widgets/busycursor.h"
#include "widgets/foldertree.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// "Backup Image" against the simulated box: the partition ends up in the
// chosen folder under the name the page's inputs give, and a failed
// download leaves nothing half-done behind.
class TestBackupJob : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backup_data();
    void backup();
    void checksBeforeJob_data();
    void checksBeforeJob();
    void backupFails_data();
    void backupFails();
};

namespace {
constexpr int JobTimeout = 60000;

void choosePartition(JobWindow &w, const QString &text, const QString &imageName)
{
    auto *combo = w.find<QComboBox>(u"ComboBox1"_s);
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), text);
    QTest::keyClicks(w.widget(u"Edit1"_s), imageName);
}
} // namespace

void TestBackupJob::backup_data()
{
    QTest::addColumn<bool>("fromList");
    QTest::addColumn<QString>("partitionText");
    QTest::addColumn<QString>("imageName");
    QTest::addColumn<int>("partition");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("line chosen from the list, slash in its name")
        << true << u"mtd7:"_s << QString() << 7 << u"mtd7 Kernel Recovery.img"_s;
    QTest::newRow("typed line, blank in its name")
        << false << u"mtd1: 00004000 00004000 \"BMon Env\""_s << QString() << 1 << u"mtd1 BMon Env.img"_s;
    QTest::newRow("image name with a slash") << false << u"mtd3"_s << u"my/backup"_s << 3 << u"my backup.img"_s;
    QTest::newRow("partition ten") << false << u"mtd10"_s << u"ten"_s << 10 << u"ten.img"_s;
}

void TestBackupJob::backup()
{
    QFETCH(bool, fromList);
    QFETCH(QString, partitionText);
    QFETCH(QString, imageName);
    QFETCH(int, partition);
    QFETCH(QString, fileName);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    JobWindow w;
    SimBoxOptions options;
    options.splitPrompt = true;
    QVERIFY2(w.open(options), qPrintable(w.errorString()));
    w.find<FolderTree>(u"RzShellTree1"_s)->selectPath(folder.path());

    if (fromList) {
        w.click(u"RzButton5"_s);
        auto *combo = w.find<QComboBox>(u"ComboBox1"_s);
        QTRY_VERIFY_WITH_TIMEOUT(combo->count() > partition, JobTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!BusyCursor::isBusy(), JobTimeout);
        const int index = combo->findText(partitionText, Qt::MatchStartsWith);
        QVERIFY(index >= 0);
        combo->hidePopup();
        combo->setCurrentIndex(index);
    } else {
        choosePartition(w, partitionText, imageName);
    }

    w.click(u"RzButton4"_s);
    QMessageBox *box = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((box = shownMessageBox()) != nullptr, JobTimeout);
    const QString dir = QDir::toNativeSeparators(folder.path() + u"/"_s);
    QCOMPARE(box->text(), JobWindow::SavedHead + dir + JobWindow::SavedMid + dir + fileName);
    QCOMPARE(w.currentPage(), u"Backup"_s);
    answer(box, QMessageBox::Ok);

    QFile saved(folder.filePath(fileName));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), w.box().read(u"/dev/mtd/%1"_s.arg(partition)));
    QVERIFY(!w.box().exists(u"/tmp/save.img"_s));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{fileName});
    QTRY_VERIFY_WITH_TIMEOUT(!BusyCursor::isBusy(), JobTimeout);
}

void TestBackupJob::checksBeforeJob_data()
{
    QTest::addColumn<QString>("partitionText");
    QTest::addColumn<QString>("message"); // empty: nothing is shown

    QTest::newRow("no partition") << QString() << u"No partition chosen"_s;
    QTest::newRow("not a partition") << u"Choose mtd"_s << QString();
    QTest::newRow("no number") << u"mtdblock"_s << QString();
}

void TestBackupJob::checksBeforeJob()
{
    QFETCH(QString, partitionText);
    QFETCH(QString, message);

    QTemporaryDir folder;
    JobWindow w;
    QVERIFY2(w.open(), qPrintable(w.errorString()));
    w.find<FolderTree>(u"RzShellTree1"_s)->selectPath(folder.path());
    choosePartition(w, partitionText, QString());

    w.click(u"RzButton4"_s);
    QCOMPARE(SettingsStore::read(SettingsStore::BackupPath), folder.path());
    if (message.isEmpty()) {
        QVERIFY(!shownMessageBox());
    } else {
        QMessageBox *box = shownMessageBox();
        QVERIFY(box);
        QCOMPARE(box->text(), message);
        answer(box, QMessageBox::Ok);
    }
    QVERIFY(!BusyCursor::isBusy());
    QVERIFY(w.window().state().JobCode.isEmpty());
}

void TestBackupJob::backupFails_data()
{
    QTest::addColumn<QStringList>("boxArguments");
    QTest::addColumn<bool>("ftp");
    QTest::newRow("FTP service down") << QStringList{} << false;
    QTest::newRow("download cut short") << QStringList{u"--ftp-close-data-early"_s, u"1000"_s} << true;
}

void TestBackupJob::backupFails()
{
    QFETCH(QStringList, boxArguments);
    QFETCH(bool, ftp);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray earlier("an earlier backup of the same name");
    QFile old(folder.filePath(u"box.img"_s));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(earlier);
    old.close();

    JobWindow w;
    SimBoxOptions options;
    options.ftp = ftp;
    options.extraArguments = boxArguments;
    QVERIFY2(w.open(options), qPrintable(w.errorString()));
    w.find<FolderTree>(u"RzShellTree1"_s)->selectPath(folder.path());
    choosePartition(w, u"mtd2"_s, u"box"_s);

    w.click(u"RzButton4"_s);
    QMessageBox *box = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((box = shownMessageBox()) != nullptr, JobTimeout);
    QCOMPARE(box->text(), JobWindow::ErrorPrefix + u"3"_s);
    QCOMPARE(w.currentPage(), u"TabSheet1"_s);
    answer(box, QMessageBox::Ok);

    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), earlier);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"box.img"_s});
    QCOMPARE(w.box().read(u"/tmp/save.img"_s), w.box().read(u"/dev/mtd/2"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!BusyCursor::isBusy(), JobTimeout);
}

QTEST_MAIN(TestBackupJob)
#include "test_backupjob.moc"
