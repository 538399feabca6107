#include "app/core/settingsstore.h"
#include "app/mainwindow.h"
#include "fcp/fcpresource.h"
#include "jobs/partitions/jobwindow.h"
#include "widgets/busycursor.h"
#include "widgets/filenameedit.h"
#include "widgets/radiogroup.h"
#include "widgets/terminal/telnetterminal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// "Flash Image" against the simulated box: the flash writer and the image go
// to "/var/tmp", the writer runs on the chosen partition and the box restarts.
class TestFlashJob : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void flash_data();
    void flash();
    void checksBeforeUpload_data();
    void checksBeforeUpload();
    void answerNo();
    void uploadFails_data();
    void uploadFails();

private:
    QString writeImage(qsizetype size);
    QTemporaryDir m_dir;
};

namespace {
constexpr int JobTimeout = 90000;

QMessageBox *waitForMessageBox()
{
    QMessageBox *box = nullptr;
    for (int i = 0; i < JobTimeout / 50 && !(box = shownMessageBox()); ++i)
        QTest::qWait(50);
    return box;
}

bool idle(JobWindow &w)
{
    return w.widget(u"RzButton1"_s)->isEnabled() && !BusyCursor::isBusy();
}
} // namespace

void TestFlashJob::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(!FcpResource::bytes().isEmpty(), "the flash writer resource is missing");
}

QString TestFlashJob::writeImage(qsizetype size)
{
    QByteArray image(size, Qt::Uninitialized);
    for (char &byte : image)
        byte = char(QRandomGenerator::global()->bounded(256));
    const QString path = m_dir.filePath(u"firmware %1.img"_s.arg(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != size)
        return {};
    return path;
}

void TestFlashJob::flash_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("chosenPartition"); // -1: the default item, no table read
    QTest::addColumn<int>("partition");
    QTest::addColumn<qsizetype>("imageSize");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("question");

    QTest::newRow("default item, German") << u"german"_s << -1 << 2 << qsizetype(0x40000)
                                          << u"Upload wird gestartet !"_s << u"Richtiges Image ?? Upload ??"_s;
    QTest::newRow("partition ten, English") << u"english"_s << 10 << 10 << qsizetype(0x10000)
                                            << u"Starting upload !"_s << u"Checked file ?? Upload ??"_s;
}

void TestFlashJob::flash()
{
    QFETCH(QString, language);
    QFETCH(int, chosenPartition);
    QFETCH(int, partition);
    QFETCH(qsizetype, imageSize);
    QFETCH(QString, title);
    QFETCH(QString, question);

    JobWindow w;
    SimBoxOptions options;
    options.splitPrompt = true;
    QVERIFY2(w.open(options), qPrintable(w.errorString()));
    w.window().state().LanguageName = language;
    const QString image = writeImage(imageSize);
    QVERIFY(!image.isEmpty());
    w.find<FileNameEdit>(u"LMDFileOpenEdit1"_s)->setFileName(image);

    if (chosenPartition >= 0) {
        w.click(u"RzButton6"_s);
        auto *group = w.find<RadioGroup>(u"RzRadioGroup1"_s);
        QTRY_VERIFY_WITH_TIMEOUT(group->count() > chosenPartition, JobTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(idle(w), JobTimeout);
        QVERIFY(group->itemText(chosenPartition).startsWith(u"mtd%1:"_s.arg(chosenPartition)));
        QTest::mouseClick(group->item(chosenPartition), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(group->checkedIndex(), chosenPartition);
    }

    QList<int> progress;
    connect(w.find<QProgressBar>(u"RzProgressBar1"_s), &QProgressBar::valueChanged, this,
            [&progress](int value) { progress.append(value); });

    w.click(u"RzButton1"_s);
    QMessageBox *box = waitForMessageBox();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), title);
    QCOMPARE(box->text(), question + u"\n"_s + image + u" -> /dev/mtd/%1"_s.arg(partition));
    QCOMPARE(w.box().read(u"/var/tmp/fcp"_s), FcpResource::bytes());
    answer(box, QMessageBox::Yes);

    QTRY_VERIFY_WITH_TIMEOUT(w.box().commands().contains(u"reboot"_s), JobTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(w.box().log().contains("boxsim: reboot:"), JobTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(!w.find<TelnetTerminal>(u"TnScript1"_s)->isConnected(), JobTimeout);
    QVERIFY(w.box().commands().contains(u"/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/%1"_s.arg(partition)));
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), JobTimeout);

    QFile source(image);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    QCOMPARE(w.box().read(u"/var/tmp/image.img"_s), bytes);
    QCOMPARE(w.box().read(u"/dev/mtd/%1"_s.arg(partition)), bytes);
    QCOMPARE(w.box().read(u"/var/tmp/fcp"_s), FcpResource::bytes());
    QVERIFY(!shownMessageBox());

    // Two runs of the bar: the flash writer's upload, back to 0, the image's.
    const qsizetype writerDone = progress.indexOf(100);
    const qsizetype reset = progress.indexOf(0, writerDone);
    QVERIFY2(writerDone >= 0 && reset > writerDone && progress.indexOf(100, reset) > reset,
             qPrintable(QString::number(progress.size())));
}

void TestFlashJob::checksBeforeUpload_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("message"); // empty: nothing is shown

    QTest::newRow("no image") << QString() << u"127.0.0.1"_s << u"root"_s << QString();
    QTest::newRow("no box address") << u"x.img"_s << QString() << u"root"_s << u"No box address"_s;
    QTest::newRow("no user id") << u"x.img"_s << u"127.0.0.1"_s << QString() << u"No user id"_s;
}

void TestFlashJob::checksBeforeUpload()
{
    QFETCH(QString, image);
    QFETCH(QString, address);
    QFETCH(QString, user);
    QFETCH(QString, message);

    JobWindow w;
    QVERIFY2(w.open(), qPrintable(w.errorString()));
    const QString imagePath = image.isEmpty() ? QString() : m_dir.filePath(image);
    w.find<FileNameEdit>(u"LMDFileOpenEdit1"_s)->setFileName(imagePath);
    w.find<QComboBox>(u"RzComboBox1"_s)->setEditText(address);
    w.find<QLineEdit>(u"RzEdit2"_s)->setText(user);

    w.click(u"RzButton1"_s);
    QCOMPARE(SettingsStore::read(SettingsStore::Image1), imagePath);
    if (message.isEmpty()) {
        QVERIFY(!shownMessageBox());
    } else {
        QMessageBox *box = waitForMessageBox();
        QVERIFY(box);
        QCOMPARE(box->text(), message);
        QCOMPARE(w.currentPage(), u"TabSheet3"_s);
        answer(box, QMessageBox::Ok);
    }
    QVERIFY(idle(w));
    QVERIFY(w.window().state().JobCode.isEmpty());
    QVERIFY(!w.box().exists(u"/var/tmp/fcp"_s));
}

void TestFlashJob::answerNo()
{
    JobWindow w;
    QVERIFY2(w.open(), qPrintable(w.errorString()));
    const QString image = writeImage(0x1000);
    w.find<FileNameEdit>(u"LMDFileOpenEdit1"_s)->setFileName(image);
    const QByteArray partitionBefore = w.box().read(u"/dev/mtd/2"_s);

    w.click(u"RzButton1"_s);
    QMessageBox *box = waitForMessageBox();
    QVERIFY(box);
    QVERIFY(!w.widget(u"RzButton1"_s)->isEnabled());
    answer(box, QMessageBox::No);

    QTRY_VERIFY_WITH_TIMEOUT(idle(w), JobTimeout);
    QVERIFY(w.window().state().JobCode.isEmpty());
    QCOMPARE(w.box().read(u"/var/tmp/fcp"_s), FcpResource::bytes());
    QVERIFY(!w.box().exists(u"/var/tmp/image.img"_s));
    QCOMPARE(w.box().read(u"/dev/mtd/2"_s), partitionBefore);
}

void TestFlashJob::uploadFails_data()
{
    QTest::addColumn<bool>("ftp");
    QTest::addColumn<int>("maxLogins");
    QTest::addColumn<int>("code");
    QTest::newRow("FTP service down") << false << 0 << 1;
    QTest::newRow("second log-in refused") << true << 1 << 2;
}

void TestFlashJob::uploadFails()
{
    QFETCH(bool, ftp);
    QFETCH(int, maxLogins);
    QFETCH(int, code);

    JobWindow w;
    SimBoxOptions options;
    options.ftp = ftp;
    options.ftpMaxLogins = maxLogins;
    QVERIFY2(w.open(options), qPrintable(w.errorString()));
    w.find<FileNameEdit>(u"LMDFileOpenEdit1"_s)->setFileName(writeImage(0x1000));

    w.click(u"RzButton1"_s);
    QMessageBox *box = waitForMessageBox();
    QVERIFY(box);
    QCOMPARE(box->text(), JobWindow::ErrorPrefix + QString::number(code));
    answer(box, QMessageBox::Ok);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w), JobTimeout);
    QVERIFY(w.window().state().JobCode.isEmpty());
    QVERIFY(!w.box().exists(u"/var/tmp/image.img"_s));
}

QTEST_MAIN(TestFlashJob)
#include "test_flashjob.moc"
