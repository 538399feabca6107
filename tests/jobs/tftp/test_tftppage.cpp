#include "app/core/settingsstore.h"
#include "app/mainwindow.h"
#include "net/tftp/tftpserver.h"
#include "support/messageboxes.h"
#include "widgets/filenameedit.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QUdpSocket>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Timeout = 60000;

// Reads the shown box's text and closes it with its OK button.
QString answerBox()
{
    QMessageBox *box = nullptr;
    if (!QTest::qWaitFor([&] { return (box = shownMessageBox()) != nullptr; }, Timeout))
        return u"<no box>"_s;
    const QString text = box->text();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    if (!QTest::qWaitFor([] { return shownMessageBox() == nullptr; }, Timeout))
        return u"<box stays open>"_s;
    return text;
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

} // namespace

// Page "TFTP upload" in the real window: "o.k." switches the server on, a
// real tftp client fetches the image, and the page shows how it ended.
class TestTftpPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_options.ports.tftp = freeUdpPort();
        m_window = std::make_unique<TForm1>(m_options);
        m_window->state().messages.MsgNoTftpImage = u"Bitte ein Image wählen"_s;
        m_window->state().messages.MsgErrorPrefix = u"Fehler "_s;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        while (shownMessageBox())  // whatever the start-up had to say
            answerBox();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

        // Open page "TFTP upload" by its tab, as the user would.
        auto *pages = m_window->findChild<QTabWidget *>(u"RzPageControl1"_s);
        QVERIFY(pages);
        const int page = pages->indexOf(m_window->findChild<QWidget *>(u"TabSheet2"_s));
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(page).center());
        QTRY_COMPARE(pages->currentIndex(), page);
    }

    void cleanup()
    {
        while (shownMessageBox())
            answerBox();
        m_window.reset();
    }

    void okServesTheChosenImage()
    {
        const QString image = writeFile(u"boot.img"_s, QByteArray("vexa image ").repeated(5000));
        const QString other = writeFile(u"other.bin"_s, QByteArray("second image"));
        QVERIFY(label()->property("blinking").toBool());
        chooseImage(image);
        click(u"RzButton7"_s);
        QVERIFY(!label()->property("blinking").toBool());
        QCOMPARE(SettingsStore::read(SettingsStore::Image2), image);

        QVERIFY(server()->isActive());
        QCOMPARE(fetch(u"any/name"_s), read(image));
        QTRY_VERIFY_WITH_TIMEOUT(label()->property("blinking").toBool(), Timeout);
        QCOMPARE(m_window->findChild<QProgressBar *>(u"RzProgressBar1"_s)->value(), 100);
        QVERIFY(!shownMessageBox());

        // A second "o.k." only stops the blinking; the field's current text
        // decides what the next request gets.
        click(u"RzButton7"_s);
        QVERIFY(!label()->property("blinking").toBool());
        QVERIFY(!shownMessageBox());
        chooseImage(other);
        QCOMPARE(fetch(u"again"_s), read(other));
    }

    void okWithEmptyFieldStartsNothing()
    {
        SettingsStore::write(SettingsStore::Image2, u"old.img"_s);
        m_window->findChild<QPushButton *>(u"RzButton7"_s)->setFocus();
        chooseImage(QString());
        click(u"RzButton7"_s);
        QTest::qWait(0);
        QVERIFY(!shownMessageBox());
        QVERIFY(!label()->property("blinking").toBool());
        QVERIFY(SettingsStore::exists(SettingsStore::Image2));
        QCOMPARE(SettingsStore::read(SettingsStore::Image2), QString());
        QVERIFY(!server()->isActive());
    }

    void leavingEmptyFieldWarnsEachTime_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<QString>("text");
        QTest::newRow("keyboard, empty") << true << QString();
        QTest::newRow("mouse, empty") << false << QString();
        QTest::newRow("keyboard, with a file") << true << u"x.img"_s;
    }

    void leavingEmptyFieldWarnsEachTime()
    {
        QFETCH(bool, byKeyboard);
        QFETCH(QString, text);
        chooseImage(text);
        for (int round = 0; round < 2; ++round) {
            m_window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
            field()->lineEdit()->setFocus();
            QTRY_VERIFY(field()->lineEdit()->hasFocus());
            if (byKeyboard) {
                // One key at a time, with the events in between handled as
                // they would be for a typing user.
                while (QApplication::focusWidget() == field()->lineEdit() || QApplication::focusWidget() == static_cast<QWidget *>(field()->browseButton())) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    QTest::qWait(1);
                }
            } else {
                click(u"RzButton7"_s);
            }
            if (text.isEmpty()) {
                QCOMPARE(answerBox(), u"Bitte ein Image wählen"_s);
            } else {
                QTest::qWait(0);
                QVERIFY(!shownMessageBox());
            }
        }
    }

    void failedTransferShowsError5()
    {
        chooseImage(writeFile(u"boot.img"_s, QByteArray(5000, 'x')));
        click(u"RzButton7"_s);
        QUdpSocket client;
        QVERIFY(client.bind(QHostAddress::LocalHost, 0));
        client.writeDatagram(QByteArray("\0\1boot.img\0octet\0", 17), QHostAddress::LocalHost, m_options.ports.tftp);
        QVERIFY(QTest::qWaitFor([&] { return client.hasPendingDatagrams(); }, Timeout));
        const QNetworkDatagram data = client.receiveDatagram();
        client.writeDatagram(QByteArray("\0\5\0\0stop\0", 9), data.senderAddress(), quint16(data.senderPort()));

        QCOMPARE(answerBox(), u"Fehler 5"_s);
        QVERIFY(label()->property("blinking").toBool());
        QCOMPARE(m_window->findChild<QProgressBar *>(u"RzProgressBar1"_s)->value(), 0);
    }

    void takenPortIsExplained()
    {
        QUdpSocket other;
        QVERIFY(other.bind(QHostAddress::AnyIPv4, m_options.ports.tftp));
        chooseImage(writeFile(u"boot.img"_s, QByteArray("x")));
        click(u"RzButton7"_s);
        const QString text = answerBox();
        QVERIFY2(text.contains(u"UDP port "_s + QString::number(m_options.ports.tftp)), qPrintable(text));
        QVERIFY2(text.contains(u"sudo setcap 'cap_net_bind_service=+ep' "_s + QCoreApplication::applicationFilePath()), qPrintable(text));
        QVERIFY2(text.contains(u"--tftp-port"_s), qPrintable(text));

        // Once the other program has gone, "o.k." starts the server.
        other.close();
        click(u"RzButton7"_s);
        QCOMPARE(fetch(u"x"_s), QByteArray("x"));
    }

private:
    FileNameEdit *field() const { return m_window->findChild<FileNameEdit *>(u"LMDFileOpenEdit2"_s); }
    QLabel *label() const { return m_window->findChild<QLabel *>(u"RzLabel8"_s); }
    TftpServer *server() const { return m_window->findChild<TftpServer *>(u"tdf1"_s); }

    void click(const QString &name) const
    {
        auto *button = m_window->findChild<QPushButton *>(name);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void chooseImage(const QString &fileName) const
    {
        QLineEdit *edit = field()->lineEdit();
        edit->clear();
        if (!fileName.isEmpty())
            QTest::keyClicks(edit, fileName);
    }

    QString writeFile(const QString &name, const QByteArray &content) const
    {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
        return file.fileName();
    }

    static QByteArray read(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Fetches a file with tftp-hpa's client, as the box's boot manager would.
    QByteArray fetch(const QString &remote) const
    {
        const QString local = m_dir.filePath(u"fetched.out"_s);
        QFile::remove(local);
        QProcess client;
        client.start(u"tftp"_s, {u"-m"_s, u"octet"_s, u"127.0.0.1"_s, QString::number(m_options.ports.tftp),
                                 u"-c"_s, u"get"_s, remote, local});
        if (!client.waitForStarted() || !QTest::qWaitFor([&] { return client.state() == QProcess::NotRunning; }, Timeout))
            return "<client did not run>";
        return read(local);
    }

    QTemporaryDir m_dir;
    AppOptions m_options;
    std::unique_ptr<TForm1> m_window;
};

QTEST_MAIN(TestTftpPage)
#include "test_tftppage.moc"
