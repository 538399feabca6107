#pragma once

#include <QString>
#include <QStringList>

// Where the program's own files live. In a portable install or a build tree
// the executable's folder and the working folder are writable and are used
// as they are. On an installed system they are not: the working files then
// go into the per-user data folder, and the language files are read from
// the installed data folder.
namespace WorkingFiles {

// Folder of files kept next to the program, such as "mtd.txt".
QString programFilesFolder();
// Folder of files kept in the working folder, such as "timer-events.dat".
QString workingFolder();
// Folders the language files are looked for in, in order.
QStringList languageFolders();

// The per-user data folder, created when missing.
QString userDataFolder();
// True when a file can be created in the folder.
bool isWritableFolder(const QString &folder);
// `preferred` when it is a writable folder, otherwise userDataFolder().
QString writableOrUserData(const QString &preferred);
// Language folders for an executable in `programFolder` and an installed
// data folder `dataFolder` (empty when the program has none).
QStringList languageFoldersFor(const QString &programFolder, const QString &dataFolder);

} // namespace WorkingFiles
