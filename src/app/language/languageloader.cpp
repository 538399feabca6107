#include "app/language/languageloader.h"

#include "app/core/windowstate.h"

#include <QCoreApplication>
#include <QMainWindow>

QStringList defaultLanguageFolders()
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral(BOXWART_DATA_DIR)};
}

void language(QMainWindow *window, WindowState &state)
{
    language(window, state, defaultLanguageFolders());
}

void language(QMainWindow *window, WindowState &state, const QStringList &folders)
{
    Q_UNUSED(window);
    Q_UNUSED(state);
    Q_UNUSED(folders);
}
