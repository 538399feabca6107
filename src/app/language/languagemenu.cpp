#include "app/language/languagemenu.h"

#include "app/core/windowstate.h"
#include "app/language/languageloader.h"
#include "widgets/controls.h"

#include <QAction>
#include <QMainWindow>

LanguageMenuController::LanguageMenuController(QMainWindow *window, WindowState &state)
    : QObject(window)
    , m_window(window)
    , m_state(state)
{
    const auto bind = [this, window](const char *name, void (LanguageMenuController::*handler)()) {
        connect(control<QAction>(window, QLatin1String(name)), &QAction::triggered, this, handler);
    };
    bind("Deutsch1", &LanguageMenuController::Deutsch1Click);
    bind("English1", &LanguageMenuController::English1Click);
    bind("Russian1", &LanguageMenuController::Russian1Click);
    bind("Netherland1", &LanguageMenuController::Netherland1Click);
    bind("Italian1", &LanguageMenuController::Italian1Click);
    bind("Greek1", &LanguageMenuController::Greek1Click);
}

void LanguageMenuController::Deutsch1Click() { load(QStringLiteral("german")); }
void LanguageMenuController::English1Click() { load(QStringLiteral("english")); }
void LanguageMenuController::Russian1Click() { load(QStringLiteral("russian")); }
void LanguageMenuController::Netherland1Click() { load(QStringLiteral("dutch")); }
void LanguageMenuController::Italian1Click() { load(QStringLiteral("italian")); }
void LanguageMenuController::Greek1Click() { load(QStringLiteral("greek")); }

void LanguageMenuController::load(const QString &languageName)
{
    m_state.LanguageName = languageName;
    language(m_window, m_state);
}
