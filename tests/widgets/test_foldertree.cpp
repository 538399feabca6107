#include "widgets/foldertree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestFolderTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectPath_data();
    void selectPath();
    void userPicksFolder();
};

void TestFolderTree::selectPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("selected");
    QTest::newRow("existing folder") << QStringLiteral("<temp>/sub folder") << true;
    QTest::newRow("missing folder") << QStringLiteral("<temp>/gone") << false;
    QTest::newRow("a file") << QStringLiteral("<temp>/file.img") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestFolderTree::selectPath()
{
    QFETCH(QString, path);
    QFETCH(bool, selected);
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("sub folder")));
    QFile file(temp.filePath(QStringLiteral("file.img")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    path.replace(QStringLiteral("<temp>"), temp.path());

    FolderTree tree;
    tree.show();
    // A folder chosen earlier is replaced or cleared.
    tree.selectPath(temp.path());
    tree.selectPath(path);
    QCOMPARE(tree.selectedPath(), selected ? QDir::toNativeSeparators(path) : QString());
}

void TestFolderTree::userPicksFolder()
{
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("pick")));
    FolderTree tree;
    tree.resize(300, 400);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    tree.selectPath(temp.path());
    QSignalSpy changed(&tree, &FolderTree::selectedPathChanged);
    const QModelIndex pick = tree.folderModel()->index(temp.filePath(QStringLiteral("pick")));
    tree.expand(pick.parent());
    tree.scrollTo(pick);
    QTRY_VERIFY(tree.visualRect(pick).isValid());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(pick).center());
    QCOMPARE(tree.selectedPath(), QDir::toNativeSeparators(temp.filePath(QStringLiteral("pick"))));
    QVERIFY(changed.count() >= 1);
}

QTEST_MAIN(TestFolderTree)
#include "test_foldertree.moc"
