#include "app/core/workingfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifndef BOXWART_DATA_DIR
#define BOXWART_DATA_DIR ""
#endif

namespace WorkingFiles {

QString userDataFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    return folder;
}

bool isWritableFolder(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // Permission bits say too little (root, read-only mounts): try it.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".boxwart-probe-XXXXXX")));
    return probe.open();
}

QString writableOrUserData(const QString &preferred)
{
    return isWritableFolder(preferred) ? preferred : userDataFolder();
}

QString programFilesFolder()
{
    return writableOrUserData(QCoreApplication::applicationDirPath());
}

QString workingFolder()
{
    return writableOrUserData(QDir::currentPath());
}

QStringList languageFoldersFor(const QString &programFolder, const QString &dataFolder)
{
    QStringList folders{programFolder};
    if (!dataFolder.isEmpty() && QDir(dataFolder) != QDir(programFolder))
        folders.append(dataFolder);
    return folders;
}

QStringList languageFolders()
{
    return languageFoldersFor(QCoreApplication::applicationDirPath(), QStringLiteral(BOXWART_DATA_DIR));
}

} // namespace WorkingFiles
