#include "jobs/partitions/backupname.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBackupName : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void name_data();
    void name();
};

void TestBackupName::name_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("imageName");
    QTest::addColumn<QString>("partition");
    QTest::addColumn<QString>("expectedFolder");
    QTest::addColumn<QString>("expectedFile");

    const QString line = u"mtd1: 00200000 00020000 \"root fs\""_s;
    QTest::newRow("partition line") << u"/data/img"_s << QString() << line << u"/data/img/"_s
                                    << u"/data/img/mtd1 root fs.img"_s;
    QTest::newRow("folder with separator") << u"/data/img/"_s << QString() << line << u"/data/img/"_s
                                           << u"/data/img/mtd1 root fs.img"_s;
    QTest::newRow("image name") << u"/data"_s << u"box"_s << line << u"/data/"_s << u"/data/box.img"_s;
    QTest::newRow("image name with extension") << u"/data"_s << u"box.img"_s << line << u"/data/"_s
                                               << u"/data/box.img.img"_s;
    QTest::newRow("slash in image name") << u"/data/a b"_s << u"x/y"_s << line << u"/data/a b/"_s
                                         << u"/data/a b/x y.img"_s;
    QTest::newRow("slash in partition name")
        << u"/data"_s << QString() << u"mtd3: 0 0 \"/var/lib\""_s << u"/data/"_s << u"/data/mtd3  var lib.img"_s;
    QTest::newRow("partition ten and above")
        << u"/data"_s << QString() << u"mtd12: 0 0 \"big one\""_s << u"/data/"_s << u"/data/mtd12 big one.img"_s;
    QTest::newRow("typed partition") << u"/data"_s << QString() << u"mtd3"_s << u"/data/"_s
                                     << u"/data/mtd3 td.img"_s;
    QTest::newRow("no folder") << QString() << u"box"_s << line << u"/home/user/"_s << u"/home/user/box.img"_s;
    QTest::newRow("root folder") << u"/"_s << u"box"_s << line << u"/"_s << u"/box.img"_s;
}

void TestBackupName::name()
{
    QFETCH(QString, folder);
    QFETCH(QString, imageName);
    QFETCH(QString, partition);
    QFETCH(QString, expectedFolder);
    QFETCH(QString, expectedFile);

    const BackupName name = backupName(folder, imageName, partition, u"/home/user"_s);
    QCOMPARE(name.folder, QDir::toNativeSeparators(expectedFolder));
    QCOMPARE(name.file, QDir::toNativeSeparators(expectedFile));
}

QTEST_APPLESS_MAIN(TestBackupName)
#include "test_backupname.moc"
