#include "app/core/appoptions.h"
#include "app/demo/demobox.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

#include <memory>

class TestDemoBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsPointsAtAndStopsTheBox();
    void reportsASimulatorThatCannotStart();
};

void TestDemoBox::startsPointsAtAndStopsTheBox()
{
    auto demo = std::make_unique<DemoBox>();
    demo->setSimulatorPath(QStringLiteral(BOXWART_BIN_DIR "/boxwart-boxsim"));
    QSignalSpy ready(demo.get(), &DemoBox::ready);
    QSignalSpy failed(demo.get(), &DemoBox::failed);
    demo->start(QStringLiteral("root"), QString());
    QVERIFY2(ready.wait(30000), failed.isEmpty() ? "no signal" : qPrintable(failed.first().first().toString()));

    AppOptions options;
    demo->applyTo(options);
    QCOMPARE(options.boxAddress, QStringLiteral("127.0.0.1"));
    QVERIFY(options.ports.telnet != 0 && options.ports.telnet != 23);
    QVERIFY(options.ports.ftp != 0 && options.ports.ftp != 21);
    QVERIFY(QFile::exists(demo->root() + QStringLiteral("/proc/mtd")));

    QTcpSocket telnet;
    QByteArray received;
    telnet.connectToHost(QHostAddress::LocalHost, options.ports.telnet);
    QTRY_VERIFY_WITH_TIMEOUT((received += telnet.readAll()).endsWith("vexa login: "), 20000);
    telnet.close();

    // Ending the demo ends the box with its FTP server and removes its root.
    const QString root = demo->root();
    demo.reset();
    QVERIFY(!QFile::exists(root));
    for (const quint16 port : {options.ports.telnet, options.ports.ftp}) {
        QTcpSocket late;
        late.connectToHost(QHostAddress::LocalHost, port);
        QTRY_COMPARE_WITH_TIMEOUT(late.error(), QAbstractSocket::ConnectionRefusedError, 20000);
    }
}

void TestDemoBox::reportsASimulatorThatCannotStart()
{
    DemoBox demo;
    demo.setSimulatorPath(QStringLiteral(BOXWART_BIN_DIR "/no-such-simulator"));
    QSignalSpy ready(&demo, &DemoBox::ready);
    QSignalSpy failed(&demo, &DemoBox::failed);
    demo.start(QStringLiteral("root"), QString());
    QVERIFY(failed.wait(30000));
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().first().toString().contains(QStringLiteral("no-such-simulator")));
    QVERIFY(ready.isEmpty());
}

QTEST_GUILESS_MAIN(TestDemoBox)
#include "test_demobox.moc"
