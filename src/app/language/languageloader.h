#pragma once

#include <QString>
#include <QStringList>

class QMainWindow;
struct WindowState;

// Reads the language file named by state.LanguageName and puts its texts on
// the window's controls and into state.messages. The chosen language is
// remembered in the settings first. A missing file is reported with the
// texts already in place kept as they are.
void language(QMainWindow *window, WindowState &state);

// The same, looking for the file only in the given folders, in order.
void language(QMainWindow *window, WindowState &state, const QStringList &folders);

// Where the language files are looked for: next to the executable, then in
// the installed data folder.
QStringList defaultLanguageFolders();
