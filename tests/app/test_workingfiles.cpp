#include "app/core/workingfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestWorkingFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void folderChoice_data();
    void folderChoice();
    void buildTreeUsesProgramFolder();
    void languageFolders_data();
    void languageFolders();
};

void TestWorkingFiles::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("boxwart"));
}

void TestWorkingFiles::folderChoice_data()
{
    QTest::addColumn<QString>("preferred");
    QTest::addColumn<bool>("kept");
    QTest::newRow("writable folder") << QStringLiteral("<temp>") << true;
    // /proc refuses new files even to root, like an installed program folder.
    QTest::newRow("read-only folder") << QStringLiteral("/proc") << false;
    QTest::newRow("missing folder") << QStringLiteral("/nonexistent/boxwart") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestWorkingFiles::folderChoice()
{
    QFETCH(QString, preferred);
    QFETCH(bool, kept);
    QTemporaryDir temp;
    if (preferred == QLatin1String("<temp>"))
        preferred = temp.path();
    const QString chosen = WorkingFiles::writableOrUserData(preferred);
    if (kept) {
        QCOMPARE(chosen, preferred);
        // The writability probe leaves nothing behind.
        QVERIFY(QDir(preferred).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        return;
    }
    QCOMPARE(chosen, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    QVERIFY(chosen.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
    QVERIFY(QFileInfo(chosen).isDir());
    QVERIFY(WorkingFiles::isWritableFolder(chosen));
}

void TestWorkingFiles::buildTreeUsesProgramFolder()
{
    QCOMPARE(WorkingFiles::programFilesFolder(), QCoreApplication::applicationDirPath());
    QCOMPARE(WorkingFiles::workingFolder(), QDir::currentPath());
    QCOMPARE(WorkingFiles::languageFolders().first(), QCoreApplication::applicationDirPath());
}

void TestWorkingFiles::languageFolders_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("installed") << QStringLiteral("/usr/bin") << QStringLiteral("/usr/share/boxwart")
                               << QStringList{QStringLiteral("/usr/bin"), QStringLiteral("/usr/share/boxwart")};
    QTest::newRow("no data folder") << QStringLiteral("/opt/boxwart") << QString()
                                    << QStringList{QStringLiteral("/opt/boxwart")};
    QTest::newRow("same folder") << QStringLiteral("/opt/boxwart") << QStringLiteral("/opt/boxwart/")
                                 << QStringList{QStringLiteral("/opt/boxwart")};
}

void TestWorkingFiles::languageFolders()
{
    QFETCH(QString, program);
    QFETCH(QString, data);
    QTEST(WorkingFiles::languageFoldersFor(program, data), "folders");
}

QTEST_GUILESS_MAIN(TestWorkingFiles)
#include "test_workingfiles.moc"
