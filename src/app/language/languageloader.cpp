#include "app/language/languageloader.h"

#include "app/core/settingsstore.h"
#include "app/core/workingfiles.h"
#include "app/core/windowstate.h"
#include "app/language/languagefile.h"
#include "widgets/controls.h"
#include "widgets/messagebox.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>

#include <functional>
#include <vector>

namespace {

// Each line of a language file feeds one or more targets; a target that the
// window does not have is passed over.
using Target = std::function<void(QMainWindow *, MessageTexts &, const QString &)>;

template<typename T>
T *find(QMainWindow *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

Target caption(const char *name)
{
    return [name](QMainWindow *window, MessageTexts &, const QString &text) {
        QObject *target = find<QObject>(window, name);
        if (auto *label = qobject_cast<QLabel *>(target))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(target))
            button->setText(text);
    };
}

Target menu(const char *name)
{
    return [name](QMainWindow *window, MessageTexts &, const QString &text) {
        if (auto *found = find<QMenu>(window, name))
            found->menuAction()->setText(text);
    };
}

Target menuItem(const char *name)
{
    return [name](QMainWindow *window, MessageTexts &, const QString &text) {
        if (auto *found = find<QAction>(window, name))
            found->setText(text);
    };
}

Target hint(const char *name)
{
    return [name](QMainWindow *window, MessageTexts &, const QString &text) {
        if (auto *found = find<QWidget>(window, name))
            setHint(found, text);
    };
}

Target property(const char *name, const char *propertyName)
{
    return [name, propertyName](QMainWindow *window, MessageTexts &, const QString &text) {
        if (auto *found = find<QObject>(window, name))
            found->setProperty(propertyName, text);
    };
}

Target page(const char *name)
{
    return [name](QMainWindow *window, MessageTexts &, const QString &text) {
        auto *pages = find<QTabWidget>(window, "RzPageControl1");
        if (!pages)
            return;
        const int index = pages->indexOf(pages->findChild<QWidget *>(QLatin1String(name)));
        if (index >= 0)
            pages->setTabText(index, text);
    };
}

Target groupHeader(const char *name)
{
    return property(name, "caption");
}

Target message(QString MessageTexts::*text)
{
    return [text](QMainWindow *, MessageTexts &messages, const QString &line) { messages.*text = line; };
}

Target both(Target first, Target second)
{
    return [first, second](QMainWindow *window, MessageTexts &messages, const QString &text) {
        first(window, messages, text);
        second(window, messages, text);
    };
}

// Line 8: the caption changes only while the group shows its single
// placeholder item, not once a partition list has been read into it.
void radioGroupCaption(QMainWindow *window, MessageTexts &, const QString &text)
{
    if (auto *group = find<RadioGroup>(window, "RzRadioGroup1"); group && group->count() == 1)
        group->setTitle(text);
}

void radioGroupFirstItem(QMainWindow *window, MessageTexts &, const QString &text)
{
    if (auto *group = find<RadioGroup>(window, "RzRadioGroup1"); group && group->count() > 0)
        group->setItemText(0, text);
}

// Line 14: only the untouched prompt text is translated, never a chosen
// partition or the user's own input.
void partitionPrompt(QMainWindow *window, MessageTexts &, const QString &text)
{
    if (auto *box = find<QComboBox>(window, "ComboBox1"); box && box->currentText() == QLatin1String("Choose mtd"))
        box->setEditText(text);
}

void timerModeItem(QMainWindow *window, int index, const QString &text)
{
    if (auto *box = find<QComboBox>(window, "RzComboBox2"); box && index < box->count())
        box->setItemText(index, text);
}

void timerModeRecord(QMainWindow *window, MessageTexts &, const QString &text)
{
    timerModeItem(window, 0, text);
}

// Line 30, followed by making sure a timer mode is chosen.
void timerModeSwitch(QMainWindow *window, MessageTexts &, const QString &text)
{
    timerModeItem(window, 1, text);
    if (auto *box = find<QComboBox>(window, "RzComboBox2"); box && box->currentIndex() < 0 && box->count() > 0)
        box->setCurrentIndex(0);
}

// The targets of lines 1 to 78, in line order.
const std::vector<Target> &lineTargets()
{
    static const std::vector<Target> targets = {
        menu("Datei1"),                                   // 1
        menuItem("Beenden1"),                             // 2
        menu("Sprache1"),                                 // 3
        menuItem("Deutsch1"),                             // 4
        menuItem("English1"),                             // 5
        menuItem("WebHelp1"),                             // 6
        caption("Label2"),                                // 7
        radioGroupCaption,                                // 8
        radioGroupFirstItem,                              // 9
        caption("RzButton6"),                             // 10
        caption("RzButton1"),                             // 11
        hint("RzButton5"),                                // 12
        caption("RzButton5"),                             // 13
        partitionPrompt,                                  // 14
        hint("Edit1"),                                    // 15
        caption("Label9"),                                // 16
        hint("LMDFileOpenEdit2"),                         // 17
        caption("RzPanel1"),                              // 18
        caption("RzURLLabel2"),                           // 19
        property("RzURLLabel2", "url"),                   // 20
        caption("RzButton8"),                             // 21
        both(caption("RzButton9"), caption("RzGroup4Items2")), // 22
        caption("RzLabel6"),                              // 23
        caption("RzLabel7"),                              // 24
        caption("RzButton13"),                            // 25
        caption("RzButton12"),                            // 26
        caption("RzButton11"),                            // 27
        both(property("RzTimePicker1", "HowToUseMsg"), property("RzTimePicker2", "HowToUseMsg")), // 28
        timerModeRecord,                                  // 29
        timerModeSwitch,                                  // 30
        hint("RzEdit2"),                                  // 31
        hint("RzEdit3"),                                  // 32
        caption("Label3"),                                // 33
        hint("RzEdit1"),                                  // 34
        caption("Label4"),                                // 35
        hint("RzComboBox1"),                              // 36
        caption("RzButton2"),                             // 37
        hint("RzButton2"),                                // 38
        caption("Label7"),                                // 39
        caption("RzButton3"),                             // 40
        message(&MessageTexts::MsgNoBoxIp),               // 41
        message(&MessageTexts::MsgNoUserId),              // 42
        message(&MessageTexts::MsgErrorPrefix),           // 43
        message(&MessageTexts::MsgBackupSavedHead),       // 44
        message(&MessageTexts::MsgBackupSavedMid),        // 45
        message(&MessageTexts::MsgNoMtdSelected),         // 46
        message(&MessageTexts::MsgNoTftpImage),           // 47
        message(&MessageTexts::MsgTimerFileUnreadable),   // 48
        message(&MessageTexts::MsgTimerUploaded),         // 49
        menuItem("Lschen1"),                              // 50
        caption("RzLabel8"),                              // 51
        caption("RzGroup4Items0"),                        // 52
        caption("RzGroup5Items0"),                        // 53
        caption("RzGroup5Items1"),                        // 54
        groupHeader("RzGroup2"),                          // 55
        both(page("TabSheet1"), caption("RzGroup3Items0")), // 56
        both(page("Backup"), caption("RzGroup3Items1")),  // 57
        both(page("TabSheet2"), caption("RzGroup3Items2")), // 58
        both(page("TabSheet4"), groupHeader("RzGroup4")), // 59
        both(page("TabSheet5"), groupHeader("RzGroup5")), // 60
        both(page("TabSheet6"), groupHeader("RzGroup6")), // 61
        both(page("TabSheet3"), caption("RzGroup2Items0")), // 62
        caption("Label5"),                                // 63
        caption("Label6"),                                // 64
        both(caption("RzGroup4Items1"), caption("RzButton10")), // 65
        caption("RzLabel1"),                              // 66
        caption("Label8"),                                // 67
        caption("RzButton4"),                             // 68
        caption("RzLabel4"),                              // 69
        caption("RzLabel5"),                              // 70
        caption("Label1"),                                // 71
        both(caption("RzButton14"), caption("RzGroup6Items0")), // 72
        both(caption("RzButton15"), caption("RzGroup6Items1")), // 73
        both(caption("RzButton16"), caption("RzGroup6Items2")), // 74
        both(caption("RzButton17"), caption("RzGroup6Items3")), // 75
        caption("CheckBox1"),                             // 76
        message(&MessageTexts::MsgRecordingRunning),      // 77
        menuItem("Alleslschen1"),                         // 78
    };
    return targets;
}

} // namespace

void language(QMainWindow *window, WindowState &state)
{
    language(window, state, WorkingFiles::languageFolders());
}

void language(QMainWindow *window, WindowState &state, const QStringList &folders)
{
    SettingsStore::write(SettingsStore::Language, state.LanguageName);

    const LanguageKind *kind = languageKind(state.LanguageName);
    window->setProperty("fontCharset", kind ? kind->fontCharset : DefaultFontCharset);

    std::optional<QStringList> lines;
    if (kind) {
        for (const QString &folder : folders) {
            const QString path = QDir(folder).filePath(kind->fileName);
            if (QFileInfo::exists(path)) {
                lines = readLanguageFile(path, kind->codePage);
                break;
            }
        }
    }
    if (!lines) {
        showError(window, state.messages, 10);
        return;
    }

    const std::vector<Target> &targets = lineTargets();
    Q_ASSERT(targets.size() == std::size_t(LanguageLineCount));
    for (int line = 0; line < LanguageLineCount; ++line)
        targets[std::size_t(line)](window, state.messages, lines->at(line));
}
