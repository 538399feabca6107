#pragma once

#include <QString>
#include <QTreeView>

class QFileSystemModel;

// A tree of the PC's folders (no files). Nothing is selected until the user
// or selectPath() picks a folder; a path that is empty or does not exist
// leaves the tree at the home folder with nothing selected.
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);

    // Empty when no folder is selected.
    QString selectedPath() const;
    void selectPath(const QString &path);

    QFileSystemModel *folderModel() const { return m_model; }

Q_SIGNALS:
    void selectedPathChanged(const QString &path);

private:
    void showFolder(const QString &path);

    QFileSystemModel *m_model;
};
