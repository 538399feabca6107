#include "app/core/appoptions.h"
#include "app/mainwindow.h"
#include "app/core/windowstate.h"
#include "jobs/sequencer/jobsequencer.h"
#include "support/messageboxes.h"
#include "support/simbox.h"
#include "widgets/busycursor.h"
#include "widgets/terminal/telnetterminal.h"

#include <QApplication>
#include <QComboBox>
#include <QCoroTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr int JobWait = 90000;  // a job takes about six seconds on an idle machine

// The real main window on the simulated box's telnet port, with the
// controls the sequencer works with found by their form names.
struct Window {
    std::unique_ptr<TForm1> form;
    QWidget &root;
    QTabWidget *pages;
    QWidget *uploadPage;
    QWidget *diskPage;
    TelnetTerminal *terminal;
    QPushButton *flashButton;
    QLabel *display;
    QComboBox *address;
    QLineEdit *user;
    QLineEdit *password;
    WindowState &state;
    JobSequencer *sequencer;
    int backups = 0;
    QString backupScreen;  // the terminal as backupit found it
    bool resetArmedDuringBackup = true;

    explicit Window(quint16 telnetPort)
        : form(std::make_unique<TForm1>(optionsFor(telnetPort)))
        , root(*form)
        , pages(find<QTabWidget>("RzPageControl1"))
        , uploadPage(find<QWidget>("TabSheet1"))
        , diskPage(find<QWidget>("TabSheet6"))
        , terminal(find<TelnetTerminal>("TnScript1"))
        , flashButton(find<QPushButton>("RzButton1"))
        , display(find<QLabel>("rzd1"))
        , address(find<QComboBox>("RzComboBox1"))
        , user(find<QLineEdit>("RzEdit2"))
        , password(find<QLineEdit>("RzEdit3"))
        , state(form->state())
        , sequencer(root.findChild<JobSequencer *>(QStringLiteral("JobSequencer")))
    {
        address->setEditText(QString());
        user->setText(u"root"_qs);
        // This test watches the sequencer alone; the real result transfers
        // are the backup and partition jobs' own tests.
        sequencer->setBackupit([this]() -> QCoro::Task<> {
            ++backups;
            backupScreen = terminal->screenText();
            resetArmedDuringBackup = root.findChild<QTimer *>(QStringLiteral("Timer5"))->isActive();
            co_await QCoro::sleepFor(200ms);  // the job completes only after the transfer
        });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // No language file lies next to the test: the user closes that message.
        while (QMessageBox *message = shownMessageBox())
            QTest::mouseClick(message->buttons().constFirst(), Qt::LeftButton);
    }

    static AppOptions optionsFor(quint16 telnetPort)
    {
        AppOptions options;
        options.ports.telnet = telnetPort;
        return options;
    }

    template<typename T>
    T *find(const char *name) const
    {
        T *found = root.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("the window has no %s", name);
        return found;
    }

    // Starts a job as a page's button handler does.
    void start(const QString &code, const QString &targetMtd = {})
    {
        if (code.toInt() <= 4)
            BusyCursor::set();
        if (code == u"1")
            flashButton->setEnabled(false);
        state.TargetMtd = targetMtd;
        pages->setCurrentWidget(uploadPage);
        sequencer->startJob(code);
    }

    QTimer *timer(const char *name) const
    {
        return root.findChild<QTimer *>(QString::fromLatin1(name));
    }
};

QString password(const SimBox &box)
{
    return box.options().password;
}

} // namespace

class TestJobSequencer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void timersBelongToTheWindow();
    void resultJobsEndAtTheThirdPrompt_data();
    void resultJobsEndAtTheThirdPrompt();
    void flashJobEndsOnTheFlashWriterOutput_data();
    void flashJobEndsOnTheFlashWriterOutput();
    void diskJobsReturnToTheDiskPage_data();
    void diskJobsReturnToTheDiskPage();
    void closedConnectionEndsTheJob_data();
    void closedConnectionEndsTheJob();
    void unreachableBoxEndsTheJob_data();
    void unreachableBoxEndsTheJob();
    void startingAJobCancelsAPendingReset();
};

void TestJobSequencer::cleanup()
{
    while (BusyCursor::isBusy())
        BusyCursor::restore();
}

void TestJobSequencer::timersBelongToTheWindow()
{
    Window window(23);
    const QList<std::pair<const char *, int>> timers{{"Timer1", 1000}, {"Timer2", 500}, {"Timer3", 2000}, {"Timer5", 5000}};
    for (const auto &[name, interval] : timers) {
        QTimer *timer = window.timer(name);
        QVERIFY2(timer && timer->parent() == &window.root, name);
        QCOMPARE(timer->interval(), interval);
        QVERIFY(timer->isSingleShot());
        QVERIFY(!timer->isActive());
    }
    QCOMPARE(window.root.findChild<JobSequencer *>(QStringLiteral("JobSequencer")), window.sequencer);
    QCOMPARE(window.terminal->rows(), 25);
    QCOMPARE(window.terminal->columns(), 80);
    QCOMPARE(window.terminal->scrollbackLimit(), 40);
}

void TestJobSequencer::resultJobsEndAtTheThirdPrompt_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("targetMtd");
    QTest::addColumn<bool>("splitPrompt");
    QTest::addColumn<int>("slowMs");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("resultFile");

    QTest::newRow("2") << u"2"_qs << QString() << false << 0 << u"cat /proc/mtd > /tmp/mtd.txt"_qs << u"/tmp/mtd.txt"_qs;
    QTest::newRow("3 split prompt") << u"3"_qs << u"6"_qs << true << 0 << u"cat /dev/mtd/6 > /tmp/save.img"_qs
                                    << u"/tmp/save.img"_qs;
    QTest::newRow("4 split prompt") << u"4"_qs << QString() << true << 0 << u"cat /proc/mtd > /tmp/mtd.txt"_qs
                                    << u"/tmp/mtd.txt"_qs;
    QTest::newRow("4 slow box") << u"4"_qs << QString() << false << 700 << u"cat /proc/mtd > /tmp/mtd.txt"_qs
                                << u"/tmp/mtd.txt"_qs;
}

void TestJobSequencer::resultJobsEndAtTheThirdPrompt()
{
    QFETCH(QString, code);
    QFETCH(QString, targetMtd);
    QFETCH(bool, splitPrompt);
    QFETCH(int, slowMs);
    QFETCH(QString, command);
    QFETCH(QString, resultFile);

    SimBox box;
    SimBoxOptions options;
    options.splitPrompt = splitPrompt;
    options.slowMs = slowMs;
    QVERIFY2(box.start(options), qPrintable(box.errorString()));
    Window window(box.telnetPort());
    window.password->clear();
    window.state.PromptTally = u"$$$$"_qs;  // left over from a job that never ended
    QSignalSpy finished(window.sequencer, &JobSequencer::jobFinished);

    window.start(code, targetMtd);
    QCOMPARE(window.state.JobCode, code);
    QVERIFY(window.state.PromptTally.isEmpty());
    // The fields count as they stand when their step runs.
    window.address->setEditText(u"127.0.0.1"_qs);
    window.password->setText(password(box));

    QTRY_VERIFY_WITH_TIMEOUT(window.terminal->isConnected(), JobWait);
    QTest::keyClicks(window.terminal, u"ls -l\r"_qs);  // the user only watches

    QVERIFY(finished.wait(JobWait));
    QCOMPARE(finished.at(0).at(0).toString(), code);
    QCOMPARE(window.backups, 1);
    QCOMPARE(window.state.PromptTally, u"$$$"_qs);
    QVERIFY(window.backupScreen.contains(u"login: root"));
    // The chunk that ends the job is examined before it is drawn.
    QVERIFY2(window.backupScreen.contains(u"$ " + password(box)), qPrintable(window.backupScreen));
    QVERIFY(!window.resetArmedDuringBackup);
    QVERIFY(!window.terminal->isConnected());
    QVERIFY(window.flashButton->isEnabled());
    QVERIFY(!BusyCursor::isBusy());
    QVERIFY(window.timer("Timer5")->isActive());
    QCOMPARE(window.terminal->screenText(), QString());
    QCOMPARE(box.commands(), (QStringList{password(box), command}));
    QVERIFY(box.exists(resultFile));
}

void TestJobSequencer::flashJobEndsOnTheFlashWriterOutput_data()
{
    QTest::addColumn<bool>("splitPrompt");
    QTest::newRow("prompt with the last line") << false;
    QTest::newRow("prompt split") << true;
}

void TestJobSequencer::flashJobEndsOnTheFlashWriterOutput()
{
    QFETCH(bool, splitPrompt);
    SimBox box;
    SimBoxOptions options;
    options.splitPrompt = splitPrompt;
    QVERIFY2(box.start(options), qPrintable(box.errorString()));
    QByteArray image(0x8000, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7);
    QVERIFY(box.write(u"/var/tmp/fcp"_qs, "flash writer"));
    QVERIFY(box.write(u"/var/tmp/image.img"_qs, image));
    Window window(box.telnetPort());
    window.address->setEditText(u"127.0.0.1"_qs);
    window.password->setText(password(box));
    QSignalSpy finished(window.sequencer, &JobSequencer::jobFinished);
    QSignalSpy reset(window.sequencer, &JobSequencer::displayReset);

    window.state.LanguageName = u"english"_qs;
    window.start(u"1"_qs, u"5"_qs);
    QVERIFY(finished.wait(JobWait));
    QCOMPARE(finished.at(0).at(0).toString(), u"1"_qs);
    QVERIFY(window.flashButton->isEnabled());
    QVERIFY(!BusyCursor::isBusy());
    QCOMPARE(window.display->text(), u"Finish!!"_qs);
    QVERIFY(window.timer("Timer5")->isActive());
    QVERIFY(window.terminal->screenText().contains(u"$ /var/tmp/fcp /var/tmp/image.img -v /dev/mtd/5"));
    QTRY_COMPARE_WITH_TIMEOUT(box.commands(),
                              (QStringList{password(box), u"chmod 755 /var/tmp/fcp"_qs,
                                           u"/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/5"_qs, u"reboot"_qs}),
                              JobWait);
    QCOMPARE(box.read(u"/dev/mtd/5"_qs).left(image.size()), image);

    // The box restarts and closes the connection; that is no failure.
    QSignalSpy abandoned(window.sequencer, &JobSequencer::jobAbandoned);
    QVERIFY(reset.wait(JobWait));
    QVERIFY(abandoned.isEmpty());
    QVERIFY(window.state.PromptTally.isEmpty());
    QCOMPARE(window.state.JobCode, u"1"_qs);
    QCOMPARE(window.terminal->screenText(), QString());
    QCOMPARE(window.display->text(), QString());
}

void TestJobSequencer::diskJobsReturnToTheDiskPage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("commands");
    const QString disc = u"/dev/ide/host0/bus0/target0/lun0/disc"_qs;
    QTest::newRow("5 mount") << u"5"_qs << QStringList{u"/bin/mount "_qs + disc + u" /mnt/hd"_qs};
    QTest::newRow("6 unmount") << u"6"_qs
                               << QStringList{u"/sbin/hdparm -S 5 "_qs + disc + u" &"_qs, u"/bin/umount "_qs + disc + u" &"_qs};
}

void TestJobSequencer::diskJobsReturnToTheDiskPage()
{
    QFETCH(QString, code);
    QFETCH(QStringList, commands);
    SimBox box;
    QVERIFY2(box.start(), qPrintable(box.errorString()));
    Window window(box.telnetPort());
    window.address->setEditText(u"127.0.0.1"_qs);
    window.password->setText(password(box));
    QSignalSpy finished(window.sequencer, &JobSequencer::jobFinished);

    window.start(code);
    QVERIFY(finished.wait(JobWait));
    QCOMPARE(window.pages->currentWidget(), window.diskPage);
    QVERIFY(!window.terminal->isConnected());
    QVERIFY(!window.timer("Timer5")->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(box.commands(), QStringList{password(box)} + commands, JobWait);
}

void TestJobSequencer::closedConnectionEndsTheJob_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("dropOn");
    QTest::newRow("2 while reading the table") << u"2"_qs << u"cat /proc/mtd"_qs;
    QTest::newRow("1 while flashing") << u"1"_qs << u"/var/tmp/fcp /var/tmp/image.img"_qs;
    QTest::newRow("3 during the log-in") << u"3"_qs << u"vexa"_qs;
}

void TestJobSequencer::closedConnectionEndsTheJob()
{
    QFETCH(QString, code);
    QFETCH(QString, dropOn);
    SimBox box;
    SimBoxOptions options;
    options.dropOn = dropOn;
    QVERIFY2(box.start(options), qPrintable(box.errorString()));
    Window window(box.telnetPort());
    window.address->setEditText(u"127.0.0.1"_qs);
    window.password->setText(password(box));
    QSignalSpy abandoned(window.sequencer, &JobSequencer::jobAbandoned);

    window.start(code, u"5"_qs);
    QVERIFY(abandoned.wait(JobWait));
    QCOMPARE(abandoned.at(0).at(0).toString(), code);
    QVERIFY(window.terminal->screenText().contains(u"The box closed the connection before the job finished."));
    QVERIFY(window.flashButton->isEnabled());
    QVERIFY(!BusyCursor::isBusy());
    QVERIFY(!window.sequencer->isJobOpen());
    QCOMPARE(window.backups, 0);
    QVERIFY(shownMessageBox() == nullptr);
    for (const char *name : {"Timer1", "Timer2", "Timer3", "Timer5"})
        QVERIFY2(!window.timer(name)->isActive(), name);
}

void TestJobSequencer::unreachableBoxEndsTheJob_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");
    QTest::newRow("port closed") << u"127.0.0.1"_qs << u"Cannot connect to the box 127.0.0.1"_qs;
    QTest::newRow("no address") << QString() << u"No box address"_qs;
}

void TestJobSequencer::unreachableBoxEndsTheJob()
{
    QFETCH(QString, address);
    QFETCH(QString, shown);
    quint16 closedPort = 0;
    {
        QTcpServer unused;
        QVERIFY(unused.listen(QHostAddress::LocalHost, 0));
        closedPort = unused.serverPort();
    }
    Window window(closedPort);
    window.address->setEditText(address);
    QSignalSpy abandoned(window.sequencer, &JobSequencer::jobAbandoned);

    window.start(u"4"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(shownMessageBox() != nullptr, JobWait);
    QMessageBox *message = shownMessageBox();
    QVERIFY2(message->text().contains(shown), qPrintable(message->text()));
    QCOMPARE(message->windowTitle(), u"Boxwart"_qs);
    QTest::mouseClick(message->buttons().constFirst(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(shownMessageBox() == nullptr, JobWait);

    QCOMPARE(abandoned.size(), 1);
    QVERIFY(window.terminal->screenText().contains(shown));
    QVERIFY(!BusyCursor::isBusy());
    QVERIFY(!window.timer("Timer2")->isActive());
    QVERIFY(!window.timer("Timer3")->isActive());
}

// A reset armed by a finished job must neither cut the next job short nor
// leave it hanging: starting the next job does the reset at once.
void TestJobSequencer::startingAJobCancelsAPendingReset()
{
    SimBox box;
    QVERIFY2(box.start(), qPrintable(box.errorString()));
    Window window(box.telnetPort());
    window.address->setEditText(u"127.0.0.1"_qs);
    window.password->setText(password(box));
    QSignalSpy finished(window.sequencer, &JobSequencer::jobFinished);
    QSignalSpy reset(window.sequencer, &JobSequencer::displayReset);

    window.start(u"4"_qs);
    QVERIFY(finished.wait(JobWait));
    QVERIFY(window.timer("Timer5")->isActive());
    QCOMPARE(window.state.PromptTally, u"$$$"_qs);

    window.start(u"2"_qs);
    QCOMPARE(reset.size(), 1);
    QVERIFY(!window.timer("Timer5")->isActive());
    QVERIFY(window.state.PromptTally.isEmpty());
    QCOMPARE(window.state.JobCode, u"2"_qs);

    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, JobWait);
    QCOMPARE(finished.at(1).at(0).toString(), u"2"_qs);
    QCOMPARE(window.backups, 2);
    QCOMPARE(reset.size(), 1);  // the second job's own reset is still to come
    QVERIFY(window.timer("Timer5")->isActive());
}

QTEST_MAIN(TestJobSequencer)
#include "test_jobsequencer.moc"
