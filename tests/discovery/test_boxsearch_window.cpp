#include "app/mainwindow.h"
#include "boxsegment.h"
#include "discovery/localaddress.h"
#include "discovery/neighboursource.h"
#include "discovery/runcaptured.h"
#include "fixturelines.h"
#include "support/messageboxes.h"
#include "widgets/busycursor.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Lists a neighbour table kept as a file, read by the Windows rules. It
// sends no echo; the tests search loopback's segment only.
class ListingFileSource final : public NeighbourSource {
public:
    explicit ListingFileSource(QString program, QString parameters)
        : m_program(std::move(program)), m_parameters(std::move(parameters))
    {
    }
    void sendBroadcastEcho(const QString &, int) override {}
    ListingCommand listingCommand() const override { return {QDir::tempPath(), m_program, m_parameters}; }
    QList<FoundBox> findBoxes(const QStringList &listing) const override { return findBoxesInWindowsListing(listing); }

private:
    QString m_program;
    QString m_parameters;
};

void useListing(const QString &program, const QString &parameters)
{
    setNeighbourSourceForTesting([program, parameters] {
        return std::make_shared<ListingFileSource>(program, parameters);
    });
}

QStringList itemsOf(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

QStringList itemsOf(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

} // namespace

class TestBoxSearchWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void addressWithoutSegmentSearchesNothing_data();
    void addressWithoutSegmentSearchesNothing();
    void twoBoxesFillTheFields();
    void listingCommandThatCannotStart();
    void searchFindsTheBoxOfItsOwnSegment();

private:
    void createWindow();
    void clickSearch(const QString &pcAddress);

    QTemporaryDir m_currentDir;
    std::unique_ptr<TForm1> m_window;
    QLineEdit *m_pcAddress = nullptr;
    QComboBox *m_boxAddress = nullptr;
    QListWidget *m_found = nullptr;
    QPlainTextEdit *m_captured = nullptr;
    QPushButton *m_search = nullptr;
};

void TestBoxSearchWindow::initTestCase()
{
    // The window shows this address at start and on page changes; it must
    // never be one of the machine's own networks.
    LocalAddress::setSourceForTesting([] { return QStringLiteral("127.0.0.1"); });
    QVERIFY(m_currentDir.isValid());
    QVERIFY(QDir::setCurrent(m_currentDir.path()));
}

void TestBoxSearchWindow::init()
{
    setNeighbourSourceForTesting({});
}

void TestBoxSearchWindow::cleanup()
{
    m_window.reset();
    setNeighbourSourceForTesting({});
    QVERIFY(!BusyCursor::isBusy());
    QVERIFY(!QFile::exists(captureFileName()));
}

void TestBoxSearchWindow::createWindow()
{
    m_window = std::make_unique<TForm1>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Where no language file lies next to the test, the window says so at start.
    if (QMessageBox *box = shownMessageBox()) {
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!shownMessageBox(), 10000);
    }
    m_pcAddress = m_window->findChild<QLineEdit *>(QStringLiteral("RzEdit1"));
    m_boxAddress = m_window->findChild<QComboBox *>(QStringLiteral("RzComboBox1"));
    m_found = m_window->findChild<QListWidget *>(QStringLiteral("ListBox1"));
    m_captured = m_window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    m_search = m_window->findChild<QPushButton *>(QStringLiteral("RzButton2"));
    QVERIFY(m_pcAddress && m_boxAddress && m_found && m_captured && m_search);
}

void TestBoxSearchWindow::clickSearch(const QString &pcAddress)
{
    m_pcAddress->clear();
    QTest::keyClicks(m_pcAddress, pcAddress);
    QTest::mouseClick(m_search, Qt::LeftButton);
}

void TestBoxSearchWindow::addressWithoutSegmentSearchesNothing_data()
{
    QTest::addColumn<QString>("pcAddress");
    QTest::newRow("no address") << QString();
    QTest::newRow("two dots") << QStringLiteral("192.168.1");
    QTest::newRow("host name") << QStringLiteral("vexa");
}

void TestBoxSearchWindow::addressWithoutSegmentSearchesNothing()
{
    QFETCH(QString, pcAddress);
    // Were the listing asked for, it would bring two boxes.
    useListing(QStringLiteral("cat"), fixturePath(QStringLiteral("windows-arp-two-boxes.txt")));
    createWindow();
    m_boxAddress->setEditText(QStringLiteral("192.168.1.99"));
    m_found->addItem(QStringLiteral("IP: 192.168.1.99   MAC: ba-dd-ad-00-00-63"));

    clickSearch(pcAddress);
    QVERIFY(m_search->isEnabled());
    QVERIFY(!BusyCursor::isBusy());
    QCOMPARE(m_boxAddress->currentText(), QString());
    QCOMPARE(m_boxAddress->count(), 0);
    QCOMPARE(m_found->count(), 0);
    QCOMPARE(m_captured->toPlainText(), QString());
    QVERIFY(!shownMessageBox());
}

void TestBoxSearchWindow::twoBoxesFillTheFields()
{
    const QString fixture = QStringLiteral("windows-arp-two-boxes.txt");
    useListing(QStringLiteral("cat"), fixturePath(fixture));
    createWindow();
    m_boxAddress->setEditText(QStringLiteral("192.168.1.99"));

    clickSearch(QStringLiteral("127.0.0.1"));
    QVERIFY(!m_search->isEnabled());
    QVERIFY(BusyCursor::isBusy());
    QTRY_VERIFY_WITH_TIMEOUT(m_search->isEnabled(), 60000);

    QCOMPARE(itemsOf(m_found), (QStringList{QStringLiteral("IP: 192.168.1.35   MAC: ba-dd-ad-00-1c-42"),
                                            QStringLiteral("IP: 192.168.56.101   MAC: ba-dd-ad-00-1c-43")}));
    QCOMPARE(itemsOf(m_boxAddress), (QStringList{QStringLiteral("192.168.1.35"), QStringLiteral("192.168.56.101")}));
    QCOMPARE(m_boxAddress->currentText(), QStringLiteral("192.168.56.101"));
    QCOMPARE(m_captured->toPlainText().split(u'\n'), fixtureLines(fixture));
    QVERIFY(!BusyCursor::isBusy());
    QVERIFY(!shownMessageBox());
}

void TestBoxSearchWindow::listingCommandThatCannotStart()
{
    useListing(QStringLiteral("boxwart-no-such-program"), QStringLiteral("-a"));
    createWindow();
    m_boxAddress->setEditText(QStringLiteral("192.168.1.99"));

    clickSearch(QStringLiteral("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(shownMessageBox(), 60000);
    QMessageBox *box = shownMessageBox();
    QCOMPARE(box->windowTitle(), QStringLiteral("RunCaptured Error"));
    QVERIFY(!box->text().isEmpty());
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!shownMessageBox(), 10000);

    QVERIFY(m_search->isEnabled());
    QCOMPARE(m_boxAddress->currentText(), QString());
    QCOMPARE(m_found->count(), 0);
}

void TestBoxSearchWindow::searchFindsTheBoxOfItsOwnSegment()
{
    const BoxSegment segment;
    if (!segment.failure().isEmpty())
        QSKIP(qPrintable(u"end-to-end search skipped: " + segment.failure()));
    QVERIFY(!segment.pcNeighbourTable().contains(QLatin1String(BoxSegment::boxAddress)));
    const NamespaceVisit visit(segment.pcNamespace());
    QVERIFY(visit.entered());
    createWindow();

    clickSearch(QLatin1String(BoxSegment::pcAddress));
    QTRY_VERIFY_WITH_TIMEOUT(m_search->isEnabled(), 60000);
    QCOMPARE(itemsOf(m_found), QStringList{u"IP: " + QLatin1String(BoxSegment::boxAddress) + u"   MAC: " +
                                           QLatin1String(BoxSegment::boxHardwareAddress)});
    QCOMPARE(m_boxAddress->currentText(), QLatin1String(BoxSegment::boxAddress));
    m_window.reset();
}

QTEST_MAIN(TestBoxSearchWindow)
#include "test_boxsearch_window.moc"
