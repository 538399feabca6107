#include "app/core/appoptions.h"

#include <QTest>

class TestAppOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ports_data();
    void ports();
};

void TestAppOptions::ports_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("telnet");
    QTest::addColumn<int>("ftp");
    QTest::addColumn<int>("tftp");
    QTest::newRow("defaults") << QStringList{} << true << 23 << 21 << 69;
    QTest::newRow("all set") << QStringList{QStringLiteral("--telnet-port=2323"), QStringLiteral("--ftp-port"),
                                            QStringLiteral("2121"), QStringLiteral("--tftp-port=6969")}
                             << true << 2323 << 2121 << 6969;
    QTest::newRow("zero refused") << QStringList{QStringLiteral("--ftp-port=0")} << false << 23 << 21 << 69;
    QTest::newRow("too large") << QStringList{QStringLiteral("--tftp-port=70000")} << false << 23 << 21 << 69;
    QTest::newRow("not a number") << QStringList{QStringLiteral("--telnet-port=x")} << false << 23 << 21 << 69;
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << false << 23 << 21 << 69;
}

void TestAppOptions::ports()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    arguments.prepend(QStringLiteral("boxwart"));
    const AppOptionsResult result = parseAppOptions(arguments);
    QCOMPARE(result.error.isEmpty(), ok);
    if (!ok)
        return;
    QTEST(int(result.options.ports.telnet), "telnet");
    QTEST(int(result.options.ports.ftp), "ftp");
    QTEST(int(result.options.ports.tftp), "tftp");
}

QTEST_GUILESS_MAIN(TestAppOptions)
#include "test_appoptions.moc"
