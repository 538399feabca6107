#pragma once

#include <QString>
#include <QStringList>

class QMainWindow;
struct WindowState;

// Reads the language file named by state.LanguageName from the language
// folders (next to the executable, then the installed data folder) and puts
// its texts on the window's controls and into state.messages. The chosen
// language is remembered in the settings first. A missing or unreadable file
// is reported as error 10 and every text already in place is kept.
void language(QMainWindow *window, WindowState &state);

// The same, looking for the file only in the given folders, in order.
void language(QMainWindow *window, WindowState &state, const QStringList &folders);
