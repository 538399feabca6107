#include "widgets/foldertree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>

FolderTree::FolderTree(QWidget *parent)
    : QTreeView(parent)
    , m_model(new QFileSystemModel(this))
{
    m_model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model->setRootPath(QString());
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAnimated(false);
    showFolder(QDir::homePath());
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Q_EMIT selectedPathChanged(selectedPath()); });
}

QString FolderTree::selectedPath() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : QDir::toNativeSeparators(m_model->filePath(rows.first()));
}

void FolderTree::selectPath(const QString &path)
{
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir()) {
        selectionModel()->clearSelection();
        showFolder(QDir::homePath());
        return;
    }
    const QModelIndex index = m_model->index(folder.absoluteFilePath());
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showFolder(folder.absoluteFilePath());
}

void FolderTree::showFolder(const QString &path)
{
    const QModelIndex index = m_model->index(path);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}
