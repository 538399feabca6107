#include "app/core/settingsstore.h"
#include "app/language/codepage.h"
#include "app/language/languageloader.h"
#include "app/mainwindow.h"
#include "support/messageboxes.h"
#include "widgets/controls.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Reads what the window shows for a target written as "<kind>:<name>":
// menu, action, text (label or button), hint, tab (page caption), group
// (group header), url, howto (clock face help), item0/item1 (combo box
// item), msg (message text); "radio" and "radio0" are the partition
// group's caption and first item.
QString shown(TForm1 *window, const QString &target)
{
    const QString kind = target.section(u':', 0, 0);
    const QString name = target.section(u':', 1);
    if (kind == u"menu")
        return control<QMenu>(window, name)->menuAction()->text();
    if (kind == u"action")
        return control<QAction>(window, name)->text();
    if (kind == u"text") {
        QObject *object = control<QObject>(window, name);
        if (auto *label = qobject_cast<QLabel *>(object))
            return label->text();
        return control<QAbstractButton>(window, name)->text();
    }
    if (kind == u"hint")
        return hintOf(control<QWidget>(window, name));
    if (kind == u"tab") {
        auto *pages = control<QTabWidget>(window, u"RzPageControl1"_s);
        return pages->tabText(pages->indexOf(control<QWidget>(pages, name)));
    }
    if (kind == u"group")
        return control<QWidget>(window, name)->property("caption").toString();
    if (kind == u"url")
        return control<QWidget>(window, name)->property("url").toString();
    if (kind == u"howto")
        return control<QWidget>(window, name)->property("HowToUseMsg").toString();
    if (kind == u"item0" || kind == u"item1")
        return control<QComboBox>(window, name)->itemText(kind == u"item0" ? 0 : 1);
    if (kind == u"radio")
        return control<RadioGroup>(window, u"RzRadioGroup1"_s)->title();
    if (kind == u"radio0")
        return control<RadioGroup>(window, u"RzRadioGroup1"_s)->itemText(0);
    if (kind == u"msg") {
        static const std::map<QString, QString MessageTexts::*> messages = {
            {u"MsgNoBoxIp"_s, &MessageTexts::MsgNoBoxIp},
            {u"MsgNoUserId"_s, &MessageTexts::MsgNoUserId},
            {u"MsgErrorPrefix"_s, &MessageTexts::MsgErrorPrefix},
            {u"MsgBackupSavedHead"_s, &MessageTexts::MsgBackupSavedHead},
            {u"MsgBackupSavedMid"_s, &MessageTexts::MsgBackupSavedMid},
            {u"MsgNoMtdSelected"_s, &MessageTexts::MsgNoMtdSelected},
            {u"MsgNoTftpImage"_s, &MessageTexts::MsgNoTftpImage},
            {u"MsgTimerFileUnreadable"_s, &MessageTexts::MsgTimerFileUnreadable},
            {u"MsgTimerUploaded"_s, &MessageTexts::MsgTimerUploaded},
            {u"MsgRecordingRunning"_s, &MessageTexts::MsgRecordingRunning},
        };
        return window->state().messages.*messages.at(name);
    }
    qFatal("unknown target kind %s", qPrintable(kind));
}

// Every line's targets; line 14 is conditional and tested on its own.
const QList<std::pair<int, QString>> &lineTargets()
{
    static const QList<std::pair<int, QString>> targets = {
        {1, u"menu:Datei1"_s}, {2, u"action:Beenden1"_s}, {3, u"menu:Sprache1"_s}, {4, u"action:Deutsch1"_s},
        {5, u"action:English1"_s}, {6, u"action:WebHelp1"_s}, {7, u"text:Label2"_s}, {8, u"radio:"_s},
        {9, u"radio0:"_s}, {10, u"text:RzButton6"_s}, {11, u"text:RzButton1"_s}, {12, u"hint:RzButton5"_s},
        {13, u"text:RzButton5"_s}, {15, u"hint:Edit1"_s}, {16, u"text:Label9"_s},
        {17, u"hint:LMDFileOpenEdit2"_s}, {18, u"text:RzPanel1"_s}, {19, u"text:RzURLLabel2"_s},
        {20, u"url:RzURLLabel2"_s}, {21, u"text:RzButton8"_s}, {22, u"text:RzButton9"_s},
        {22, u"text:RzGroup4Items2"_s}, {23, u"text:RzLabel6"_s}, {24, u"text:RzLabel7"_s},
        {25, u"text:RzButton13"_s}, {26, u"text:RzButton12"_s}, {27, u"text:RzButton11"_s},
        {28, u"howto:RzTimePicker1"_s}, {28, u"howto:RzTimePicker2"_s}, {29, u"item0:RzComboBox2"_s},
        {30, u"item1:RzComboBox2"_s}, {31, u"hint:RzEdit2"_s}, {32, u"hint:RzEdit3"_s}, {33, u"text:Label3"_s},
        {34, u"hint:RzEdit1"_s}, {35, u"text:Label4"_s}, {36, u"hint:RzComboBox1"_s}, {37, u"text:RzButton2"_s},
        {38, u"hint:RzButton2"_s}, {39, u"text:Label7"_s}, {40, u"text:RzButton3"_s},
        {41, u"msg:MsgNoBoxIp"_s}, {42, u"msg:MsgNoUserId"_s}, {43, u"msg:MsgErrorPrefix"_s},
        {44, u"msg:MsgBackupSavedHead"_s}, {45, u"msg:MsgBackupSavedMid"_s}, {46, u"msg:MsgNoMtdSelected"_s},
        {47, u"msg:MsgNoTftpImage"_s}, {48, u"msg:MsgTimerFileUnreadable"_s}, {49, u"msg:MsgTimerUploaded"_s},
        {50, u"action:Lschen1"_s}, {51, u"text:RzLabel8"_s}, {52, u"text:RzGroup4Items0"_s},
        {53, u"text:RzGroup5Items0"_s}, {54, u"text:RzGroup5Items1"_s}, {55, u"group:RzGroup2"_s},
        {56, u"tab:TabSheet1"_s}, {56, u"text:RzGroup3Items0"_s}, {57, u"tab:Backup"_s},
        {57, u"text:RzGroup3Items1"_s}, {58, u"tab:TabSheet2"_s}, {58, u"text:RzGroup3Items2"_s},
        {59, u"tab:TabSheet4"_s}, {59, u"group:RzGroup4"_s}, {60, u"tab:TabSheet5"_s}, {60, u"group:RzGroup5"_s},
        {61, u"tab:TabSheet6"_s}, {61, u"group:RzGroup6"_s}, {62, u"tab:TabSheet3"_s},
        {62, u"text:RzGroup2Items0"_s}, {63, u"text:Label5"_s}, {64, u"text:Label6"_s},
        {65, u"text:RzGroup4Items1"_s}, {65, u"text:RzButton10"_s}, {66, u"text:RzLabel1"_s},
        {67, u"text:Label8"_s}, {68, u"text:RzButton4"_s}, {69, u"text:RzLabel4"_s}, {70, u"text:RzLabel5"_s},
        {71, u"text:Label1"_s}, {72, u"text:RzButton14"_s}, {72, u"text:RzGroup6Items0"_s},
        {73, u"text:RzButton15"_s}, {73, u"text:RzGroup6Items1"_s}, {74, u"text:RzButton16"_s},
        {74, u"text:RzGroup6Items2"_s}, {75, u"text:RzButton17"_s}, {75, u"text:RzGroup6Items3"_s},
        {76, u"text:CheckBox1"_s}, {77, u"msg:MsgRecordingRunning"_s}, {78, u"action:Alleslschen1"_s},
    };
    return targets;
}

QString numbered(int line)
{
    return u"L"_s + QString::number(line);
}

// A language file of `count` lines "L1", "L2", ... in the given code page.
void writeNumberedFile(const QString &path, int count, CodePage page = CodePage::Windows1252)
{
    QStringList lines;
    for (int line = 1; line <= count; ++line)
        lines.append(numbered(line));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodeCodePage(lines.join(u"\r\n"_s) + u"\r\n"_s, page));
}

// Closes the open message box as the user would, keeping its text.
void answerMessageBox(QString &text)
{
    QMessageBox *box = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((box = shownMessageBox()) != nullptr, 10000);
    text = box->text();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!shownMessageBox(), 10000);
}

} // namespace

class LanguageWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void switchingLanguagesChangesTheWindow_data();
    void switchingLanguagesChangesTheWindow();
    void eachMenuItemLoadsItsLanguage_data();
    void eachMenuItemLoadsItsLanguage();
    void everyLineReachesItsTargets_data();
    void everyLineReachesItsTargets();
    void missingFileKeepsTheTexts_data();
    void missingFileKeepsTheTexts();
    void groupCaptionOnlyWhileOneItem_data();
    void groupCaptionOnlyWhileOneItem();
    void partitionPromptOnlyWhileChooseMtd_data();
    void partitionPromptOnlyWhileChooseMtd();
    void timerModeIsSelectedAfterLoading_data();
    void timerModeIsSelectedAfterLoading();

private:
    void clickGroupItem(const QString &name);

    std::unique_ptr<TForm1> m_window;
    QTemporaryDir m_folder;
};

void LanguageWindowTest::init()
{
    SettingsStore::write(SettingsStore::Language, QString());
    m_window = std::make_unique<TForm1>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(m_folder.isValid());
}

void LanguageWindowTest::cleanup()
{
    m_window.reset();
    QDir(m_folder.path()).removeRecursively();
    QDir().mkpath(m_folder.path());
}

void LanguageWindowTest::clickGroupItem(const QString &name)
{
    auto *item = control<QToolButton>(m_window.get(), name);
    QVERIFY(item->isVisible());
    QTest::mouseClick(item, Qt::LeftButton);
}

void LanguageWindowTest::switchingLanguagesChangesTheWindow_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("russian");
    QTest::newRow("menu") << u"menu:Datei1"_s << u"Datei"_s << u"Файл"_s;
    QTest::newRow("bold label") << u"text:Label2"_s << u"Image auswählen:"_s << u"Выберите образ:"_s;
    QTest::newRow("page") << u"tab:TabSheet3"_s << u"Setup/MAC"_s << u"Настройка/MAC"_s;
    QTest::newRow("group header") << u"group:RzGroup2"_s << u"Einstellungen"_s << u"Настройки"_s;
    QTest::newRow("group item") << u"text:RzGroup4Items2"_s << u"Log speichern"_s << u"Сохранить журнал"_s;
    QTest::newRow("hint") << u"hint:RzEdit1"_s
                          << u"Hier wird die IP-Adresse ihres Rechners angezeigt!|Hier wird die IP-Adresse ihres Rechners angezeigt!"_s
                          << u"Здесь показан IP-адрес вашего компьютера!|Здесь показан IP-адрес вашего компьютера!"_s;
    QTest::newRow("help link") << u"url:RzURLLabel2"_s
                               << u"https://boxwart.example.org/anleitung/ger/html/softup-html.html"_s
                               << u"https://boxwart.example.org/anleitung/rus/html/softup-html.html"_s;
    QTest::newRow("error prefix") << u"msg:MsgErrorPrefix"_s << u"Fehler: "_s << u"Ошибка: "_s;
    QTest::newRow("timer mode") << u"item1:RzComboBox2"_s << u"Umschalten"_s << u"Переключение"_s;
}

void LanguageWindowTest::switchingLanguagesChangesTheWindow()
{
    QFETCH(QString, target);
    QFETCH(QString, german);
    QFETCH(QString, russian);

    // A first start loads German.
    QCOMPARE(m_window->state().LanguageName, u"german"_s);
    QCOMPARE(SettingsStore::read(SettingsStore::Language), u"german"_s);
    QCOMPARE(shown(m_window.get(), target), german);

    clickGroupItem(u"RzGroup2Items3"_s);
    QCOMPARE(shown(m_window.get(), target), russian);
    QCOMPARE(m_window->property("fontCharset").toInt(), 204);
    QCOMPARE(SettingsStore::read(SettingsStore::Language), u"russian"_s);

    clickGroupItem(u"RzGroup2Items1"_s);
    QCOMPARE(shown(m_window.get(), target), german);
    QCOMPARE(m_window->property("fontCharset").toInt(), 1);
    QCOMPARE(m_window->state().LanguageName, u"german"_s);
    QVERIFY(!shownMessageBox());
}

void LanguageWindowTest::eachMenuItemLoadsItsLanguage_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<int>("charset");
    QTest::newRow("Deutsch") << u"Deutsch1"_s << u"german"_s << u"Datei"_s << 1;
    QTest::newRow("English") << u"English1"_s << u"english"_s << u"File"_s << 1;
    QTest::newRow("Russian") << u"Russian1"_s << u"russian"_s << u"Файл"_s << 204;
    QTest::newRow("Netherland") << u"Netherland1"_s << u"dutch"_s << u"Bestand"_s << 1;
    QTest::newRow("Italian") << u"Italian1"_s << u"italian"_s << u"File"_s << 1;
    QTest::newRow("Greek") << u"Greek1"_s << u"greek"_s << u"Αρχείο"_s << 161;
}

void LanguageWindowTest::eachMenuItemLoadsItsLanguage()
{
    QFETCH(QString, action);
    QFETCH(QString, key);
    QFETCH(QString, fileMenu);
    QFETCH(int, charset);

    // A text the user or a job changed is put back even when the same
    // language is chosen again.
    control<QAbstractButton>(m_window.get(), u"RzButton3"_s)->setText(u"changed"_s);
    control<QAction>(m_window.get(), action)->trigger();

    QCOMPARE(m_window->state().LanguageName, key);
    QCOMPARE(SettingsStore::read(SettingsStore::Language), key);
    QCOMPARE(shown(m_window.get(), u"menu:Datei1"_s), fileMenu);
    QVERIFY(shown(m_window.get(), u"text:RzButton3"_s) != u"changed"_s);
    QCOMPARE(m_window->property("fontCharset").toInt(), charset);
    // The language items of the menu are never translated.
    QCOMPARE(shown(m_window.get(), u"action:Greek1"_s), u"Greek"_s);
    QVERIFY(!shownMessageBox());
}

void LanguageWindowTest::everyLineReachesItsTargets_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::newRow("complete file") << 78;
    QTest::newRow("short file") << 30;
    QTest::newRow("three lines") << 3;
    QTest::newRow("longer file") << 85;
}

void LanguageWindowTest::everyLineReachesItsTargets()
{
    QFETCH(int, lineCount);
    writeNumberedFile(m_folder.filePath(u"english.lng"_s), lineCount);
    m_window->state().LanguageName = u"english"_s;
    language(m_window.get(), m_window->state(), {m_folder.path()});

    QVERIFY(!shownMessageBox());
    for (const auto &[line, target] : lineTargets()) {
        const QString expected = line <= lineCount ? numbered(line) : QString();
        QVERIFY2(shown(m_window.get(), target) == expected,
                 qPrintable(u"line %1, %2: \"%3\""_s.arg(line).arg(target, shown(m_window.get(), target))));
    }
}

void LanguageWindowTest::missingFileKeepsTheTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("freshState");
    QTest::addColumn<bool>("folderInPlace");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("charset");
    QTest::newRow("after German") << u"russian"_s << false << false << u"Fehler: 10"_s << 204;
    QTest::newRow("first start") << u"german"_s << true << false << u"10"_s << 1;
    QTest::newRow("unreadable") << u"greek"_s << false << true << u"Fehler: 10"_s << 161;
    QTest::newRow("unknown key") << u"Russian"_s << false << false << u"Fehler: 10"_s << 1;
}

void LanguageWindowTest::missingFileKeepsTheTexts()
{
    QFETCH(QString, key);
    QFETCH(bool, freshState);
    QFETCH(bool, folderInPlace);
    QFETCH(QString, message);
    QFETCH(int, charset);

    // Every file but the wanted one is there.
    for (const QString &name : {u"german"_s, u"english"_s, u"russian"_s, u"greek"_s}) {
        if (name != key)
            writeNumberedFile(m_folder.filePath(name + u".lng"_s), 78);
    }
    if (folderInPlace)
        QVERIFY(QDir(m_folder.path()).mkdir(key + u".lng"_s));

    WindowState fresh;
    WindowState &state = freshState ? fresh : m_window->state();
    const MessageTexts before = state.messages;
    state.LanguageName = key;
    language(m_window.get(), state, {m_folder.path()});

    QString shownMessage;
    answerMessageBox(shownMessage);
    QCOMPARE(shownMessage, message);
    QCOMPARE(state.messages.MsgErrorPrefix, before.MsgErrorPrefix);
    QCOMPARE(state.messages.MsgRecordingRunning, before.MsgRecordingRunning);
    QCOMPARE(shown(m_window.get(), u"menu:Datei1"_s), u"Datei"_s);
    QCOMPARE(shown(m_window.get(), u"text:RzButton3"_s), u"Einstellungen speichern"_s);
    // The choice is stored all the same, so the next start tries it again.
    QCOMPARE(SettingsStore::read(SettingsStore::Language), key);
    QCOMPARE(m_window->property("fontCharset").toInt(), charset);
}

void LanguageWindowTest::groupCaptionOnlyWhileOneItem_data()
{
    QTest::addColumn<int>("items");
    QTest::newRow("placeholder only") << 1;
    QTest::newRow("partition list") << 3;
    QTest::newRow("empty group") << 0;
}

void LanguageWindowTest::groupCaptionOnlyWhileOneItem()
{
    QFETCH(int, items);
    auto *group = control<RadioGroup>(m_window.get(), u"RzRadioGroup1"_s);
    group->clearItems();
    for (int item = 0; item < items; ++item)
        group->addItem(u"mtd%1 \"part\""_s.arg(item));
    group->setTitle(u"before"_s);

    writeNumberedFile(m_folder.filePath(u"dutch.lng"_s), 78);
    m_window->state().LanguageName = u"dutch"_s;
    language(m_window.get(), m_window->state(), {m_folder.path()});

    QCOMPARE(group->title(), items == 1 ? numbered(8) : u"before"_s);
    QCOMPARE(group->count(), items);
    if (items > 0)
        QCOMPARE(group->itemText(0), numbered(9));
    if (items > 1)
        QCOMPARE(group->itemText(1), u"mtd1 \"part\""_s);
}

void LanguageWindowTest::partitionPromptOnlyWhileChooseMtd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("prompt") << u"Choose mtd"_s << numbered(14);
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("other case") << u"choose mtd"_s << u"choose mtd"_s;
    QTest::newRow("trailing blank") << u"Choose mtd "_s << u"Choose mtd "_s;
    QTest::newRow("partition") << u"mtd3 \"kernel\""_s << u"mtd3 \"kernel\""_s;
}

void LanguageWindowTest::partitionPromptOnlyWhileChooseMtd()
{
    QFETCH(QString, text);
    QFETCH(QString, after);
    auto *partition = control<QComboBox>(m_window.get(), u"ComboBox1"_s);
    partition->setEditText(text);

    writeNumberedFile(m_folder.filePath(u"italian.lng"_s), 78);
    m_window->state().LanguageName = u"italian"_s;
    language(m_window.get(), m_window->state(), {m_folder.path()});

    QCOMPARE(partition->currentText(), after);
}

void LanguageWindowTest::timerModeIsSelectedAfterLoading_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("after");
    QTest::newRow("nothing selected") << -1 << 0;
    QTest::newRow("switch selected") << 1 << 1;
}

void LanguageWindowTest::timerModeIsSelectedAfterLoading()
{
    QFETCH(int, selected);
    QFETCH(int, after);
    auto *mode = control<QComboBox>(m_window.get(), u"RzComboBox2"_s);
    mode->setCurrentIndex(selected);

    control<QAction>(m_window.get(), u"English1"_s)->trigger();

    QCOMPARE(mode->currentIndex(), after);
    QCOMPARE(mode->itemText(0), u"Record"_s);
    QCOMPARE(mode->itemText(1), u"Switch"_s);
}

QTEST_MAIN(LanguageWindowTest)
#include "tst_languagewindow.moc"
