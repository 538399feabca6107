#include "rawtelnetclient.h"
#include "support/simbox.h"

#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int kWait = 20000;

QByteArray bytes(int size, char seed)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char(seed + i * 3);
    return data;
}

} // namespace

class TestBoxSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void logInDialogue();
    void lineEnds_data();
    void lineEnds();
    void shellReplies_data();
    void shellReplies();
    void flashWriter();
    void flashWriterErrors_data();
    void flashWriterErrors();
    void rebootEndsTheSession();
    void splitPrompt();
    void dropOn();
    void ftpServiceAndStop();

private:
    // Connects, answers the negotiation and logs in; the shell's first prompt
    // has arrived when it returns true.
    bool logIn(RawTelnetClient &client, const SimBox &box);
    // Types a line and waits until the reply ends with a prompt.
    bool type(RawTelnetClient &client, const QByteArray &line);

    SimBox m_box;
};

void TestBoxSim::initTestCase()
{
    QVERIFY2(m_box.start(), qPrintable(m_box.errorString()));
}

bool TestBoxSim::logIn(RawTelnetClient &client, const SimBox &box)
{
    client.connectTo(box.telnetPort());
    if (!QTest::qWaitFor([&] { return client.text.endsWith("vexa login: "); }, kWait))
        return false;
    client.send(box.options().user.toUtf8() + '\r');
    return QTest::qWaitFor([&] { return client.text.endsWith("$ "); }, kWait);
}

bool TestBoxSim::type(RawTelnetClient &client, const QByteArray &line)
{
    const qsizetype before = client.text.size();
    client.send(line + '\r');
    return QTest::qWaitFor([&] { return client.text.size() > before && client.text.endsWith("$ "); }, kWait);
}

void TestBoxSim::logInDialogue()
{
    RawTelnetClient client;
    client.connectTo(m_box.telnetPort());
    QTRY_VERIFY_WITH_TIMEOUT(client.text.endsWith("vexa login: "), kWait);
    // The box asks for the terminal type, offers echo and SGA, and asks for
    // the type once the client has agreed to tell it.
    QCOMPARE(client.negotiation, (QStringList{QStringLiteral("DO 24"), QStringLiteral("WILL 1"),
                                              QStringLiteral("WILL 3"), QStringLiteral("SB 24 1")}));
    QTRY_VERIFY_WITH_TIMEOUT(m_box.log().contains("boxsim: terminal: VT100"), kWait);

    client.send("guest\r");
    QTRY_VERIFY_WITH_TIMEOUT(client.text.endsWith("guest\r\n\r\nLogin incorrect\r\nvexa login: "), kWait);

    // The user id is taken without a password; the password the program
    // types anyway is a command the shell does not know.
    client.send("root\r");
    QTRY_VERIFY_WITH_TIMEOUT(client.text.endsWith("root\r\n$ "), kWait);
    QVERIFY(type(client, "vexa"));
    QVERIFY(client.text.endsWith("vexa\r\nsh: vexa: not found\r\n$ "));
    QVERIFY(type(client, ""));
    QVERIFY(client.text.endsWith("vexa: not found\r\n$ \r\n$ "));
}

void TestBoxSim::lineEnds_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR") << QByteArray("\r");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("CR NUL") << QByteArray("\r\0", 2);
    QTest::newRow("LF") << QByteArray("\n");
}

void TestBoxSim::lineEnds()
{
    QFETCH(QByteArray, lineEnd);
    RawTelnetClient client;
    QVERIFY(logIn(client, m_box));
    m_box.write(QStringLiteral("/tmp/mtd.txt"), "old");
    const qsizetype commandsBefore = m_box.commands().size();

    client.send("cat /proc/mtd > /tmp/mtd.txt" + lineEnd + "cat /dev/mtd/1 > /tmp/save.img" + lineEnd);
    QTRY_VERIFY_WITH_TIMEOUT(client.text.endsWith("cat /dev/mtd/1 > /tmp/save.img\r\n$ "), kWait);
    QVERIFY(client.text.endsWith("cat /proc/mtd > /tmp/mtd.txt\r\n$ cat /dev/mtd/1 > /tmp/save.img\r\n$ "));
    QTRY_COMPARE_WITH_TIMEOUT(m_box.commands().mid(commandsBefore),
                              (QStringList{QStringLiteral("cat /proc/mtd > /tmp/mtd.txt"),
                                           QStringLiteral("cat /dev/mtd/1 > /tmp/save.img")}),
                              kWait);
    QCOMPARE(m_box.read(QStringLiteral("/tmp/mtd.txt")), m_box.read(QStringLiteral("/proc/mtd")));
    QCOMPARE(m_box.read(QStringLiteral("/tmp/save.img")), m_box.read(QStringLiteral("/dev/mtd/1")));
}

void TestBoxSim::shellReplies_data()
{
    QTest::addColumn<QString>("uploaded"); // a plain file put on the box first
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("unknown command") << QString() << QByteArray("ls -l /tmp") << QByteArray("sh: ls: not found\r\n");
    QTest::newRow("flash writer not uploaded")
        << QString() << QByteArray("/var/tmp/nofcp /var/tmp/image.img -v /dev/mtd/3")
        << QByteArray("sh: /var/tmp/nofcp: not found\r\n");
    QTest::newRow("flash writer not executable")
        << QStringLiteral("/var/tmp/plainfcp") << QByteArray("/var/tmp/plainfcp /var/tmp/image.img -v /dev/mtd/3")
        << QByteArray("sh: /var/tmp/plainfcp: Permission denied\r\n");
    QTest::newRow("missing file") << QString() << QByteArray("cat /tmp/none") << QByteArray("cat: /tmp/none: No such file or directory\r\n");
    QTest::newRow("leaving the root") << QString() << QByteArray("cat /tmp/../../../etc/hostname")
                                      << QByteArray("cat: /tmp/../../../etc/hostname: Permission denied\r\n");
    QTest::newRow("redirection out of the root")
        << QString() << QByteArray("cat /proc/mtd > ../escape.txt") << QByteArray("sh: can't create ../escape.txt: Permission denied\r\n");
    QTest::newRow("redirection into a missing folder")
        << QString() << QByteArray("cat /proc/mtd > /nowhere/mtd.txt")
        << QByteArray("sh: can't create /nowhere/mtd.txt: nonexistent directory\r\n");
    QTest::newRow("hdparm in the background")
        << QString() << QByteArray("/sbin/hdparm -S 5 /dev/ide/host0/bus0/target0/lun0/disc &")
        << QByteArray("\r\n/dev/ide/host0/bus0/target0/lun0/disc:\r\n setting standby to 5 (25 seconds)\r\n");
}

void TestBoxSim::shellReplies()
{
    QFETCH(QString, uploaded);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, reply);
    if (!uploaded.isEmpty())
        QVERIFY(m_box.write(uploaded, "#!/bin/sh\n"));
    RawTelnetClient client;
    QVERIFY(logIn(client, m_box));
    QVERIFY(type(client, line));
    QCOMPARE(client.text.mid(client.text.lastIndexOf(line)), line + "\r\n" + reply + "$ ");
    QVERIFY(!QFile::exists(m_box.root() + QStringLiteral("/../escape.txt")));
}

void TestBoxSim::flashWriter()
{
    const QByteArray image = bytes(25000, 5);
    const QByteArray before = m_box.read(QStringLiteral("/dev/mtd/3"));
    QVERIFY(m_box.write(QStringLiteral("/var/tmp/fcp"), "\x7f" "ELF"));
    QVERIFY(m_box.write(QStringLiteral("/var/tmp/image.img"), image));
    RawTelnetClient client;
    QVERIFY(logIn(client, m_box));
    QVERIFY(type(client, "chmod 755 /var/tmp/fcp"));
    QVERIFY(type(client, "/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/3"));

    // flashcp -v: each phase rewritten in place, one block of erase and
    // 10 KiB of data per step; the last line and the prompt travel together.
    const QByteArray expected = "/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/3\r\n"
                                "Erasing blocks: 0/2 (0%)\rErasing blocks: 1/2 (50%)\rErasing blocks: 2/2 (100%)"
                                "\rErasing blocks: 2/2 (100%)\r\n"
                                "Writing data: 0k/24k (0%)\rWriting data: 10k/24k (40%)\rWriting data: 20k/24k (81%)"
                                "\rWriting data: 24k/24k (100%)\rWriting data: 24k/24k (100%)\r\n"
                                "Verifying data: 0k/24k (0%)\rVerifying data: 10k/24k (40%)"
                                "\rVerifying data: 20k/24k (81%)\rVerifying data: 24k/24k (100%)"
                                "\rVerifying data: 24k/24k (100%)\r\n$ ";
    QCOMPARE(client.text.mid(client.text.lastIndexOf("/var/tmp/fcp /var/tmp/image.img")), expected);
    QVERIFY(client.reads.last().endsWith(" (100%)\r\n$ "));

    // The erased blocks not covered by the image read as 0xff; the rest of
    // the partition keeps its content.
    const QByteArray after = m_box.read(QStringLiteral("/dev/mtd/3"));
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.left(image.size()), image);
    QCOMPARE(after.mid(image.size(), 32768 - image.size()), QByteArray(32768 - image.size(), char(0xff)));
    QCOMPARE(after.mid(32768), before.mid(32768));
}

void TestBoxSim::flashWriterErrors_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("image too big") << QByteArray("/var/tmp/fcp /var/tmp/big.img -v /dev/mtd/9")
                                   << QByteArray("/var/tmp/big.img won't fit into /dev/mtd/9!\r\n");
    QTest::newRow("image missing") << QByteArray("/var/tmp/fcp /var/tmp/none.img -v /dev/mtd/9")
                                   << QByteArray("While trying to open /var/tmp/none.img: No such file or directory\r\n");
    QTest::newRow("partition missing")
        << QByteArray("/var/tmp/fcp /var/tmp/big.img -v /dev/mtd/12")
        << QByteArray("While trying to open /dev/mtd/12 for read/write access: No such file or directory\r\n");
    QTest::newRow("not a partition") << QByteArray("/var/tmp/fcp /var/tmp/big.img -v /proc/mtd")
                                     << QByteArray("This doesn't seem to be a valid MTD flash device!\r\n");
}

void TestBoxSim::flashWriterErrors()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    QVERIFY(m_box.write(QStringLiteral("/var/tmp/fcp"), "\x7f" "ELF"));
    QVERIFY(m_box.write(QStringLiteral("/var/tmp/big.img"), bytes(0x4000 + 1, 9)));
    const QByteArray partition = m_box.read(QStringLiteral("/dev/mtd/9"));
    RawTelnetClient client;
    QVERIFY(logIn(client, m_box));
    QVERIFY(type(client, "chmod 755 /var/tmp/fcp"));
    QVERIFY(type(client, command));
    QCOMPARE(client.text.mid(client.text.lastIndexOf(command)), command + "\r\n" + reply + "$ ");
    QCOMPARE(m_box.read(QStringLiteral("/dev/mtd/9")), partition);
}

void TestBoxSim::rebootEndsTheSession()
{
    RawTelnetClient client;
    QVERIFY(logIn(client, m_box));
    client.send("reboot\r");
    QTRY_VERIFY_WITH_TIMEOUT(client.closed, kWait);
    QVERIFY(client.text.endsWith("reboot\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(m_box.commands().value(m_box.commands().size() - 1), QStringLiteral("reboot"), kWait);
}

void TestBoxSim::splitPrompt()
{
    SimBoxOptions options;
    options.ftp = false;
    options.splitPrompt = true;
    SimBox box;
    QVERIFY2(box.start(options), qPrintable(box.errorString()));
    QVERIFY(box.write(QStringLiteral("/var/tmp/fcp"), "\x7f" "ELF"));
    QVERIFY(box.write(QStringLiteral("/var/tmp/image.img"), bytes(3000, 1)));
    RawTelnetClient client;
    QVERIFY(logIn(client, box));
    QVERIFY(type(client, "chmod 755 /var/tmp/fcp"));
    QVERIFY(type(client, "/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/6"));

    // The last line of the flash writer, "$" and the blank after it each
    // arrive in a read of their own.
    const qsizetype n = client.reads.size();
    QVERIFY(n >= 3);
    QVERIFY2(client.reads.at(n - 3).endsWith("\rVerifying data: 2k/2k (100%)\r\n"), client.reads.at(n - 3).constData());
    QCOMPARE(client.reads.at(n - 2), QByteArray("$"));
    QCOMPARE(client.reads.at(n - 1), QByteArray(" "));
}

void TestBoxSim::dropOn()
{
    SimBoxOptions options;
    options.ftp = false;
    options.dropOn = QStringLiteral("image.img");
    SimBox box;
    QVERIFY2(box.start(options), qPrintable(box.errorString()));
    RawTelnetClient client;
    QVERIFY(logIn(client, box));
    QVERIFY(type(client, "chmod 755 /var/tmp/fcp"));
    client.send("/var/tmp/fcp /var/tmp/image.img -v /dev/mtd/3\r");
    QTRY_VERIFY_WITH_TIMEOUT(client.closed, kWait);
    QVERIFY(client.text.endsWith("$ /var/tmp/fcp /var/tmp/image.img -v /dev/mtd/3\r\n"));
}

void TestBoxSim::ftpServiceAndStop()
{
    SimBoxOptions options;
    options.user = QStringLiteral("vexauser");
    options.password = QStringLiteral("s3cret");
    SimBox box;
    QVERIFY2(box.start(options), qPrintable(box.errorString()));
    QVERIFY(box.ftpPort() != 0);
    QTcpSocket ftp;
    ftp.connectToHost(QHostAddress::LocalHost, box.ftpPort());
    QByteArray replies;
    const auto waitFor = [&](const QByteArray &code) {
        return QTest::qWaitFor(
            [&] {
                replies += ftp.readAll();
                return replies.contains(QByteArray("\r\n" + code + ' ')) || replies.startsWith(QByteArray(code + ' '));
            },
            kWait);
    };
    QVERIFY(waitFor("220"));
    ftp.write("USER vexauser\r\nPASS s3cret\r\n");
    QVERIFY2(waitFor("230"), replies.constData());
    ftp.write("SIZE /proc/mtd\r\nTYPE I\r\nSIZE /proc/mtd\r\n");
    QVERIFY2(waitFor("213"), replies.constData());
    const QByteArray size = QByteArray::number(box.read(QStringLiteral("/proc/mtd")).size());
    QVERIFY(replies.contains(QByteArray("213 " + size)));
    ftp.close();

    // Stopping the box stops its FTP server as well.
    const quint16 ftpPort = box.ftpPort();
    box.stop();
    QVERIFY(!box.isRunning());
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, ftpPort);
    QTRY_COMPARE_WITH_TIMEOUT(late.error(), QAbstractSocket::ConnectionRefusedError, kWait);
}

QTEST_GUILESS_MAIN(TestBoxSim)
#include "test_boxsim.moc"
