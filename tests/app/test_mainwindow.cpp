#include "app/core/settingsstore.h"
#include "app/mainwindow.h"
#include "discovery/localaddress.h"
#include "widgets/filenameedit.h"
#include "widgets/foldertree.h"
#include "widgets/groupbar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

QSettings storedSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("boxwart"),
                     QStringLiteral("config"));
}

// The language loader may report a missing file; the test closes such boxes
// as a user would.
void answerMessageBoxes()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->isVisible())
            QTest::mouseClick(box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok) : box->buttons().first(),
                              Qt::LeftButton);
    }
}

template<typename T>
T *find(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no %s", name);
    return found;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void pagesInOrder();
    void controlsByName_data();
    void controlsByName();
    void groupBar();
    void firstStart();
    void storedValuesRestored();
    void emptyUserIdShowsRoot();
    void boxAddressOption();
    void languageChoice_data();
    void languageChoice();
    void saveSettingsAsTyped();
    void sizeRules();
    void shortcutClicksItsControl_data();
    void shortcutClicksItsControl();
    void shortcutSelectsItem();
    void pageChangeFetchesAddress();
    void labelsAndNames();
    void exitByMenu();

private:
    TForm1 *open(const AppOptions &options = {});
    std::unique_ptr<TForm1> m_window;
    std::unique_ptr<TForm1> m_shared;
};

TForm1 *TestMainWindow::open(const AppOptions &options)
{
    m_window = std::make_unique<TForm1>(options);
    m_window->show();
    answerMessageBoxes();
    return m_window.get();
}

void TestMainWindow::init()
{
    storedSettings().clear();
    LocalAddress::setSourceForTesting([] { return QStringLiteral("192.0.2.15"); });
}

void TestMainWindow::cleanup()
{
    answerMessageBoxes();
    m_window.reset();
    if (qstrcmp(QTest::currentTestFunction(), "controlsByName") != 0)
        m_shared.reset();
}

void TestMainWindow::pagesInOrder()
{
    TForm1 *window = open();
    auto *pages = find<QTabWidget>(window, "RzPageControl1");
    QVERIFY(pages);
    const QStringList names{QStringLiteral("TabSheet1"), QStringLiteral("Backup"), QStringLiteral("TabSheet2"),
                            QStringLiteral("TabSheet4"), QStringLiteral("TabSheet5"), QStringLiteral("TabSheet6"),
                            QStringLiteral("TabSheet3")};
    const QStringList captions{QStringLiteral("Upload"), QStringLiteral("Backup"), QStringLiteral("TFTP upload"),
                               QStringLiteral("RS232 Konsole"), QStringLiteral("Timer-Events"),
                               QStringLiteral("HD-Control"), QStringLiteral("Setup/MAC")};
    QCOMPARE(pages->count(), 7);
    for (int index = 0; index < 7; ++index) {
        QCOMPARE(pages->widget(index)->objectName(), names.at(index));
        QCOMPARE(pages->tabText(index), captions.at(index));
    }
    QCOMPARE(pages->currentIndex(), 6);
}

void TestMainWindow::controlsByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, const char *kind, const QString &text = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << text;
    };
    row("Label2", "QLabel", QStringLiteral("Image auswählen:"));
    row("LMDFileOpenEdit1", "FileNameEdit");
    row("RzRadioGroup1", "RadioGroup", QStringLiteral("mtd to flash"));
    row("RzButton6", "QPushButton", QStringLiteral("MTD-Read"));
    row("RzButton1", "QPushButton", QStringLiteral("Flash Image"));
    row("rzd1", "QLabel");
    row("TnScript1", "TelnetTerminal");
    row("RzLabel1", "QLabel", QStringLiteral("Select Backup-Path"));
    row("RzShellTree1", "FolderTree");
    row("RzButton5", "QPushButton", QStringLiteral("Select mtd"));
    row("ComboBox1", "QComboBox");
    row("Label8", "QLabel", QStringLiteral("Image-Name"));
    row("Edit1", "QLineEdit");
    row("RzButton4", "QPushButton", QStringLiteral("Backup Image"));
    row("Label9", "QLabel", QStringLiteral("Image auswählen:"));
    row("LMDFileOpenEdit2", "FileNameEdit");
    row("RzLabel8", "BlinkingLabel", QStringLiteral("Vor dem Bootmanager-Start in der Vexa o.k. klicken"));
    row("RzButton7", "QPushButton", QStringLiteral("o.k."));
    row("RzPanel1", "QLabel", QString());
    row("RzURLLabel2", "LinkLabel", QStringLiteral("Online-Hilfe Bootmanager"));
    row("ComTerminal1", "TerminalWidget");
    row("ComComboBox1", "QComboBox", QStringLiteral("COM1"));
    row("RzButton8", "QPushButton", QStringLiteral("Connect"));
    row("ComLed1", "Lamp");
    row("ComLed2", "Lamp");
    row("ComLed3", "Lamp");
    row("RzLabel2", "QLabel", QStringLiteral("Rx"));
    row("RzLabel3", "QLabel", QStringLiteral("Tx"));
    row("RzButton10", "QPushButton", QStringLiteral("Expert-Setup"));
    row("RzButton9", "QPushButton", QStringLiteral("Save Log"));
    row("rzt1", "QPlainTextEdit");
    row("RzLabel4", "QLabel", QStringLiteral("Start"));
    row("RzLabel5", "QLabel", QStringLiteral("Stop"));
    row("RzLabel6", "QLabel", QStringLiteral("Channel"));
    row("RzLabel7", "QLabel", QStringLiteral("Program-Name"));
    row("DateTimePicker1", "QDateEdit");
    row("DateTimePicker2", "QDateEdit");
    row("DateTimePicker3", "QTimeEdit");
    row("DateTimePicker4", "QTimeEdit");
    row("RzTimePicker1", "ClockTimePicker");
    row("RzTimePicker2", "ClockTimePicker");
    row("RzEdit6", "QLineEdit");
    row("RzEdit7", "QLineEdit");
    row("RzComboBox3", "QComboBox");
    row("RzComboBox2", "QComboBox", QStringLiteral("Aufnehmen"));
    row("RzButton13", "QPushButton", QStringLiteral("Edit Timer Event"));
    row("RzButton11", "QPushButton", QStringLiteral("Download Timer-File"));
    row("RzButton12", "QPushButton", QStringLiteral("Upload Timer-File"));
    row("RzButton18", "QPushButton");
    row("ListBox2", "QListWidget");
    row("Memo2", "QPlainTextEdit");
    row("RzListBox1", "QListWidget");
    row("RzButton14", "QPushButton", QStringLiteral("Mount HD"));
    row("RzButton15", "QPushButton", QStringLiteral("Unmount HD"));
    row("RzButton16", "QPushButton", QStringLiteral("Connect HD"));
    row("RzButton17", "QPushButton", QStringLiteral("Disconnect HD"));
    row("CheckBox1", "QCheckBox", QStringLiteral("Show Log-Window"));
    row("Frame21", "QFrame");
    row("BTVisualFTP1", "QWidget");
    row("RzShellTree2", "FolderTree");
    row("RzShellList1", "QTreeView");
    row("Label5", "QLabel", QStringLiteral("User ID Vexa"));
    row("RzEdit2", "QLineEdit", QStringLiteral("root"));
    row("Label6", "QLabel", QStringLiteral("Passw. Vexa"));
    row("RzEdit3", "QLineEdit");
    row("Label3", "QLabel", QStringLiteral("Lokale IP des PC"));
    row("RzEdit1", "QLineEdit");
    row("Label4", "QLabel", QStringLiteral("IP der Vexa"));
    row("RzComboBox1", "QComboBox");
    row("RzButton2", "QPushButton", QStringLiteral("Suche Box"));
    row("Label7", "QLabel", QStringLiteral("Alle gefundenen IP/MAC von Vexa im Segment"));
    row("ListBox1", "QListWidget");
    row("RzButton3", "QPushButton", QStringLiteral("Einstellungen speichern"));
    row("Memo1", "QPlainTextEdit");
    row("RzStatusBar1", "QStatusBar");
    row("RzClockStatus1", "QLabel");
    row("Label1", "QLabel", QStringLiteral("Transfer-Status"));
    row("RzProgressBar1", "QProgressBar");
    row("RzURLLabel1", "LinkLabel");
    row("Image321", "QLabel");
    row("RzGroupBar1", "GroupBar");
    row("MainMenu1", "QMenuBar");
    row("PopupMenu1", "QMenu");
}

void TestMainWindow::controlsByName()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    // Looking only, so one window serves every row. An unknown stored
    // language leaves the built-in texts in place.
    if (!m_shared) {
        SettingsStore::write(SettingsStore::Language, QStringLiteral("built-in"));
        m_shared = std::make_unique<TForm1>();
    }
    TForm1 *window = m_shared.get();
    QWidget *widget = window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QVERIFY2(widget->inherits(kind.toLatin1().constData()), widget->metaObject()->className());
    if (text.isEmpty())
        return;
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), text);
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(edit->text(), text);
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        QCOMPARE(combo->currentText(), text);
    else if (auto *group = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(group->title(), text);
}

void TestMainWindow::groupBar()
{
    SettingsStore::write(SettingsStore::Language, QStringLiteral("built-in"));
    TForm1 *window = open();
    auto *bar = find<GroupBar>(window, "RzGroupBar1");
    QVERIFY(bar);
    QCOMPARE(bar->width(), 151);
    struct Expected {
        const char *name;
        const char *caption;
        bool open;
        QStringList items;
    };
    const QList<Expected> expected{
        {"RzGroup2", "Einstellungen", true,
         {QStringLiteral("Setup/MAC"), QStringLiteral("Deutsch"), QStringLiteral("English"), QStringLiteral("Russian"),
          QStringLiteral("Netherland"), QStringLiteral("Italian"), QStringLiteral("Greek")}},
        {"RzGroup3", "Image Service", false,
         {QStringLiteral("Upload"), QStringLiteral("Backup"), QStringLiteral("TFTP upload")}},
        {"RzGroup4", "RS232 Konsole", false,
         {QStringLiteral("Verbinden"), QStringLiteral("Expert.-Setup"), QStringLiteral("Log speichern")}},
        {"RzGroup5", "Timer-Events", false,
         {QStringLiteral("Timer-Datei Vexa > PC"), QStringLiteral("Timer-Datei PC > Vexa")}},
        {"RzGroup6", "HD-Control", false,
         {QStringLiteral("item1"), QStringLiteral("Item2"), QStringLiteral("Item3"), QStringLiteral("Item4")}},
        {"RzGroup1", "Logo", true, {}},
    };
    const QList<ShortcutGroup *> groups = bar->groups();
    QCOMPARE(groups.size(), expected.size());
    for (qsizetype g = 0; g < groups.size(); ++g) {
        ShortcutGroup *group = groups.at(g);
        const Expected &want = expected.at(g);
        QCOMPARE(group->objectName(), QLatin1String(want.name));
        QCOMPARE(group->property("caption").toString(), QString::fromUtf8(want.caption));
        QCOMPARE(group->isOpen(), want.open);
        QCOMPARE(group->itemCount(), want.items.size());
        for (int k = 0; k < group->itemCount(); ++k) {
            const QString itemName = group->objectName() + QStringLiteral("Items") + QString::number(k);
            auto *item = window->findChild<QToolButton *>(itemName);
            QVERIFY2(item, qPrintable(itemName));
            QCOMPARE(item->text(), want.items.at(k));
            QVERIFY(!item->icon().isNull());
            QVERIFY(!group->isItemSelected(k));
        }
    }
    // The logo sits in the last group.
    auto *logo = find<QLabel>(window, "Image321");
    QVERIFY(logo && groups.last()->isAncestorOf(logo));
    QCOMPARE(logo->size(), QSize(105, 57));
    QVERIFY(!logo->pixmap().isNull());
}

void TestMainWindow::firstStart()
{
    TForm1 *window = open();
    QVERIFY(find<QComboBox>(window, "RzComboBox1")->currentText().isEmpty());
    QCOMPARE(find<QLineEdit>(window, "RzEdit2")->text(), QStringLiteral("root"));
    QVERIFY(find<QLineEdit>(window, "RzEdit3")->text().isEmpty());
    QCOMPARE(find<QLineEdit>(window, "RzEdit1")->text(), QStringLiteral("192.0.2.15"));
    QCOMPARE(find<QComboBox>(window, "RzComboBox2")->currentIndex(), 0);
    QVERIFY(find<FolderTree>(window, "RzShellTree1")->selectedPath().isEmpty());
    QVERIFY(find<FileNameEdit>(window, "LMDFileOpenEdit1")->fileName().isEmpty());
    QCOMPARE(window->state().LanguageName, QStringLiteral("german"));
    QCOMPARE(SettingsStore::read(SettingsStore::Language), QStringLiteral("german"));
    // Nothing else is stored by merely starting.
    QVERIFY(!SettingsStore::exists(SettingsStore::UserId));
    QVERIFY(!SettingsStore::exists(SettingsStore::BoxIp));
}

void TestMainWindow::storedValuesRestored()
{
    QTemporaryDir backups;
    SettingsStore::write(SettingsStore::BoxIp, QStringLiteral("vexa.local"));
    SettingsStore::write(SettingsStore::UserId, QStringLiteral("admin"));
    SettingsStore::write(SettingsStore::Password, QStringLiteral("s3cret "));
    SettingsStore::write(SettingsStore::BackupPath, backups.path());
    SettingsStore::write(SettingsStore::Image1, QStringLiteral("/images/a.img"));
    SettingsStore::write(SettingsStore::Image2, QStringLiteral("/images/b.bin"));
    TForm1 *window = open();
    QCOMPARE(find<QComboBox>(window, "RzComboBox1")->currentText(), QStringLiteral("vexa.local"));
    QCOMPARE(find<QLineEdit>(window, "RzEdit2")->text(), QStringLiteral("admin"));
    QCOMPARE(find<QLineEdit>(window, "RzEdit3")->text(), QStringLiteral("s3cret "));
    QCOMPARE(find<FolderTree>(window, "RzShellTree1")->selectedPath(), QDir::toNativeSeparators(backups.path()));
    QCOMPARE(find<FileNameEdit>(window, "LMDFileOpenEdit1")->fileName(), QStringLiteral("/images/a.img"));
    QCOMPARE(find<FileNameEdit>(window, "LMDFileOpenEdit2")->fileName(), QStringLiteral("/images/b.bin"));

    // A backup folder that has gone selects nothing.
    const QString gone = backups.path();
    m_window.reset();
    backups.remove();
    window = open();
    QVERIFY(find<FolderTree>(window, "RzShellTree1")->selectedPath().isEmpty());
    Q_UNUSED(gone);
}

void TestMainWindow::emptyUserIdShowsRoot()
{
    SettingsStore::write(SettingsStore::UserId, QString());
    TForm1 *window = open();
    QCOMPARE(find<QLineEdit>(window, "RzEdit2")->text(), QStringLiteral("root"));
    QVERIFY(SettingsStore::exists(SettingsStore::UserId));
    QVERIFY(SettingsStore::read(SettingsStore::UserId).isEmpty());
}

void TestMainWindow::boxAddressOption()
{
    SettingsStore::write(SettingsStore::BoxIp, QStringLiteral("10.0.0.9"));
    AppOptions options;
    options.boxAddress = QStringLiteral("127.0.0.1");
    TForm1 *window = open(options);
    QCOMPARE(find<QComboBox>(window, "RzComboBox1")->currentText(), QStringLiteral("127.0.0.1"));
    QCOMPARE(SettingsStore::read(SettingsStore::BoxIp), QStringLiteral("10.0.0.9"));
}

void TestMainWindow::languageChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("languageName");
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("german") << QStringLiteral("german") << QStringLiteral("german") << QStringLiteral("german");
    QTest::newRow("empty means german") << QString() << QStringLiteral("german") << QStringLiteral("german");
    QTest::newRow("greek") << QStringLiteral("greek") << QStringLiteral("greek") << QStringLiteral("greek");
    QTest::newRow("dutch") << QStringLiteral("dutch") << QStringLiteral("dutch") << QStringLiteral("dutch");
    QTest::newRow("wrong case") << QStringLiteral("English") << QString() << QStringLiteral("English");
    QTest::newRow("unknown") << QStringLiteral("klingon") << QString() << QStringLiteral("klingon");
}

void TestMainWindow::languageChoice()
{
    QFETCH(QString, stored);
    QFETCH(QString, languageName);
    QFETCH(QString, storedAfter);
    SettingsStore::write(SettingsStore::Language, stored);
    TForm1 *window = open();
    QCOMPARE(window->state().LanguageName, languageName);
    QCOMPARE(SettingsStore::read(SettingsStore::Language), storedAfter);
    if (languageName.isEmpty()) {
        // Nothing loaded: the built-in German texts and empty messages stay.
        QCOMPARE(find<QLabel>(window, "Label5")->text(), QStringLiteral("User ID Vexa"));
        QCOMPARE(find<QPushButton>(window, "RzButton3")->text(), QStringLiteral("Einstellungen speichern"));
        QVERIFY(window->state().messages.MsgErrorPrefix.isEmpty());
    }
}

void TestMainWindow::saveSettingsAsTyped()
{
    SettingsStore::write(SettingsStore::Password, QStringLiteral("old"));
    TForm1 *window = open();
    auto *box = find<QComboBox>(window, "RzComboBox1");
    auto *user = find<QLineEdit>(window, "RzEdit2");
    auto *password = find<QLineEdit>(window, "RzEdit3");
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), QStringLiteral(" 192.168.1.20"));
    user->clear();
    password->clear();
    QTest::mouseClick(find<QPushButton>(window, "RzButton3"), Qt::LeftButton);
    QCOMPARE(SettingsStore::read(SettingsStore::BoxIp), QStringLiteral(" 192.168.1.20"));
    QVERIFY(SettingsStore::exists(SettingsStore::UserId));
    QVERIFY(SettingsStore::read(SettingsStore::UserId).isEmpty());
    QVERIFY(SettingsStore::exists(SettingsStore::Password));
    QVERIFY(SettingsStore::read(SettingsStore::Password).isEmpty());

    // The next start shows them again; the empty user id as "root".
    m_window.reset();
    window = open();
    QCOMPARE(find<QComboBox>(window, "RzComboBox1")->currentText(), QStringLiteral(" 192.168.1.20"));
    QCOMPARE(find<QLineEdit>(window, "RzEdit2")->text(), QStringLiteral("root"));
    QVERIFY(find<QLineEdit>(window, "RzEdit3")->text().isEmpty());
}

void TestMainWindow::sizeRules()
{
    TForm1 *window = open();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->frameGeometry().size(), TForm1::designSize);
    auto *terminal = find<QWidget>(window, "TnScript1");
    QCOMPARE(terminal->size(), QSize(545, 209));

    // The sizes are outer sizes, frame included.
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(QSize(500, 400) - frame);
    QTRY_COMPARE(window->frameGeometry().size(), TForm1::designSize);

    window->resize(QSize(900, 700) - frame);
    QTRY_COMPARE(window->frameGeometry().size(), QSize(900, 700));
    QCOMPARE(terminal->size(), QSize(900 - 190, 700 - 329));
    // The page control grows with the window.
    QVERIFY(find<QWidget>(window, "RzPageControl1")->width() > 565);
}

void TestMainWindow::shortcutClicksItsControl_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("page");
    QTest::newRow("connect console") << QStringLiteral("RzGroup4Items0") << QStringLiteral("RzButton8") << 3;
    QTest::newRow("expert setup") << QStringLiteral("RzGroup4Items1") << QStringLiteral("RzButton10") << 3;
    QTest::newRow("save log") << QStringLiteral("RzGroup4Items2") << QStringLiteral("RzButton9") << 3;
    QTest::newRow("timer download") << QStringLiteral("RzGroup5Items0") << QStringLiteral("RzButton11") << 4;
    QTest::newRow("timer upload") << QStringLiteral("RzGroup5Items1") << QStringLiteral("RzButton12") << 4;
    QTest::newRow("mount stays") << QStringLiteral("RzGroup6Items0") << QStringLiteral("RzButton14") << 6;
    QTest::newRow("unmount stays") << QStringLiteral("RzGroup6Items1") << QStringLiteral("RzButton15") << 6;
    QTest::newRow("connect disk") << QStringLiteral("RzGroup6Items2") << QStringLiteral("RzButton16") << 5;
    QTest::newRow("disconnect disk") << QStringLiteral("RzGroup6Items3") << QStringLiteral("RzButton17") << 5;
    QTest::newRow("german") << QStringLiteral("RzGroup2Items1") << QStringLiteral("Deutsch1") << 6;
    QTest::newRow("english") << QStringLiteral("RzGroup2Items2") << QStringLiteral("English1") << 6;
    QTest::newRow("greek") << QStringLiteral("RzGroup2Items6") << QStringLiteral("Greek1") << 6;
    QTest::newRow("upload page") << QStringLiteral("RzGroup3Items0") << QString() << 0;
    QTest::newRow("backup page") << QStringLiteral("RzGroup3Items1") << QString() << 1;
    QTest::newRow("tftp page") << QStringLiteral("RzGroup3Items2") << QString() << 2;
}

void TestMainWindow::shortcutClicksItsControl()
{
    QFETCH(QString, item);
    QFETCH(QString, target);
    QFETCH(int, page);
    TForm1 *window = open();
    std::unique_ptr<QSignalSpy> spy;
    if (auto *button = window->findChild<QAbstractButton *>(target); button && !target.isEmpty())
        spy = std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
    else if (auto *action = window->findChild<QAction *>(target); action && !target.isEmpty())
        spy = std::make_unique<QSignalSpy>(action, &QAction::triggered);
    QVERIFY(target.isEmpty() || spy);

    auto *shortcut = window->findChild<QToolButton *>(item);
    QVERIFY(shortcut);
    // Closed groups are opened as a user would before clicking an item.
    auto *group = qobject_cast<ShortcutGroup *>(shortcut->parentWidget()->parentWidget());
    QVERIFY(group);
    if (!group->isOpen())
        QTest::mouseClick(group->header(), Qt::LeftButton);
    QVERIFY(shortcut->isVisible());
    QTest::mouseClick(shortcut, Qt::LeftButton);
    answerMessageBoxes();
    if (spy)
        QCOMPARE(spy->count(), 1);
    QCOMPARE(find<QTabWidget>(window, "RzPageControl1")->currentIndex(), page);
}

void TestMainWindow::shortcutSelectsItem()
{
    TForm1 *window = open();
    auto *group = find<ShortcutGroup>(window, "RzGroup3");
    QTest::mouseClick(group->header(), Qt::LeftButton);
    QVERIFY(group->isOpen());
    QTest::mouseClick(group->item(1), Qt::LeftButton);
    QVERIFY(group->isItemSelected(1));
    QTest::mouseClick(group->item(2), Qt::LeftButton);
    QVERIFY(group->isItemSelected(2));
    QVERIFY(!group->isItemSelected(1));
    QTest::mouseClick(group->header(), Qt::LeftButton);
    QVERIFY(!group->isOpen());
    QVERIFY(!group->item(0)->isVisible());
}

void TestMainWindow::pageChangeFetchesAddress()
{
    TForm1 *window = open();
    auto *address = find<QLineEdit>(window, "RzEdit1");
    address->clear();
    QTest::keyClicks(address, QStringLiteral("typed by hand"));
    LocalAddress::setSourceForTesting([] { return QStringLiteral("198.51.100.4"); });
    auto *pages = find<QTabWidget>(window, "RzPageControl1");
    pages->setCurrentIndex(0);
    QCOMPARE(address->text(), QStringLiteral("198.51.100.4"));

    // Also when a shortcut shows a page.
    address->setText(QStringLiteral("again"));
    auto *setup = find<ShortcutGroup>(window, "RzGroup2");
    QTest::mouseClick(setup->item(0), Qt::LeftButton);
    QCOMPARE(pages->currentIndex(), 6);
    QCOMPARE(address->text(), QStringLiteral("198.51.100.4"));
}

void TestMainWindow::labelsAndNames()
{
    TForm1 *window = open();
    const QList<std::pair<const char *, const char *>> buddies{
        {"Label2", "LMDFileOpenEdit1"}, {"RzLabel1", "RzShellTree1"}, {"Label8", "Edit1"},
        {"Label9", "LMDFileOpenEdit2"}, {"RzLabel4", "DateTimePicker1"}, {"RzLabel5", "DateTimePicker2"},
        {"RzLabel6", "RzEdit6"},        {"RzLabel7", "RzEdit7"},          {"Label5", "RzEdit2"},
        {"Label6", "RzEdit3"},          {"Label3", "RzEdit1"},            {"Label4", "RzComboBox1"},
        {"Label7", "ListBox1"}};
    for (const auto &[label, field] : buddies)
        QCOMPARE(find<QLabel>(window, label)->buddy(), find<QWidget>(window, field));

    // Every focusable control without a visible label carries a name.
    const QStringList unlabelled{
        QStringLiteral("ComboBox1"),       QStringLiteral("ComComboBox1"),    QStringLiteral("rzt1"),
        QStringLiteral("DateTimePicker3"), QStringLiteral("DateTimePicker4"), QStringLiteral("RzTimePicker1"),
        QStringLiteral("RzTimePicker2"),   QStringLiteral("RzComboBox3"),     QStringLiteral("RzComboBox2"),
        QStringLiteral("ListBox2"),        QStringLiteral("RzShellTree2"),    QStringLiteral("RzShellList1"),
        QStringLiteral("TnScript1"),       QStringLiteral("ComTerminal1"),    QStringLiteral("RzProgressBar1")};
    for (const QString &name : unlabelled) {
        QWidget *widget = window->findChild<QWidget *>(name);
        QVERIFY2(widget && !widget->accessibleName().isEmpty(), qPrintable(name));
    }

    // Tab moves through the start page's fields in reading order.
    auto *user = find<QLineEdit>(window, "RzEdit2");
    QCOMPARE(user->nextInFocusChain(), find<QWidget>(window, "RzEdit3"));
}

void TestMainWindow::exitByMenu()
{
    TForm1 *window = open();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    find<QAction>(window, "WebHelp1")->trigger();
    QVERIFY(window->isVisible());
    // A window it owns (like the TV-guide window) closes with it.
    auto *owned = new QWidget(window, Qt::Window);
    owned->show();
    find<QAction>(window, "Beenden1")->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(!owned->isVisible());
    QVERIFY(!SettingsStore::exists(SettingsStore::BoxIp));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
