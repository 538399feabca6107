#include "net/ftp/ftpaddress.h"
#include "net/ftp/ftpreply.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestFtpReply : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scan_data();
    void scan();
    void everyPrefixOfAReplyIsIncomplete();
    void passiveReplies_data();
    void passiveReplies();
    void extendedPassiveReplies_data();
    void extendedPassiveReplies();
    void portArgument();
};

Q_DECLARE_METATYPE(FtpReplyScan::Status)

void TestFtpReply::scan_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<FtpReplyScan::Status>("status");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("consumed");

    const QByteArray longLine(5000, 'x');
    QByteArray manyLines = "230-start\r\n";
    while (manyLines.size() <= FtpMaxReplyBytes)
        manyLines += " filler line of a very long greeting\r\n";

    QTest::newRow("single line") << QByteArray("220 Ready\r\n") << FtpReplyScan::Complete << 220 << QStringList{u"Ready"_s} << 11;
    QTest::newRow("bare LF") << QByteArray("200 OK\n") << FtpReplyScan::Complete << 200 << QStringList{u"OK"_s} << 7;
    QTest::newRow("code only") << QByteArray("226\r\n") << FtpReplyScan::Complete << 226 << QStringList{QString()} << 5;
    QTest::newRow("next reply stays") << QByteArray("200 OK\r\n331 Next\r\n") << FtpReplyScan::Complete << 200 << QStringList{u"OK"_s} << 8;
    QTest::newRow("multi-line") << QByteArray("230-Welcome\r\n to the box\r\n230 Logged in\r\n")
                                << FtpReplyScan::Complete << 230
                                << QStringList{u"Welcome"_s, u" to the box"_s, u"Logged in"_s} << 41;
    QTest::newRow("inner lines with codes") << QByteArray("211-Features\r\n211-still going\r\n226 other code\r\n211 End\r\n")
                                            << FtpReplyScan::Complete << 211
                                            << QStringList{u"Features"_s, u"211-still going"_s, u"226 other code"_s, u"End"_s} << 56;
    QTest::newRow("partial line") << QByteArray("220 Rea") << FtpReplyScan::Incomplete << 0 << QStringList() << 0;
    QTest::newRow("open multi-line") << QByteArray("230-a\r\n230-b\r\n") << FtpReplyScan::Incomplete << 0 << QStringList() << 0;
    QTest::newRow("empty") << QByteArray() << FtpReplyScan::Incomplete << 0 << QStringList() << 0;
    QTest::newRow("no code") << QByteArray("hello\r\n") << FtpReplyScan::Malformed << 0 << QStringList() << 0;
    QTest::newRow("two digits") << QByteArray("22 x\r\n") << FtpReplyScan::Malformed << 0 << QStringList() << 0;
    QTest::newRow("code out of range") << QByteArray("600 x\r\n") << FtpReplyScan::Malformed << 0 << QStringList() << 0;
    QTest::newRow("bad separator") << QByteArray("220x\r\n") << FtpReplyScan::Malformed << 0 << QStringList() << 0;
    QTest::newRow("empty line") << QByteArray("\r\n") << FtpReplyScan::Malformed << 0 << QStringList() << 0;
    QTest::newRow("long unfinished line") << "220 " + longLine << FtpReplyScan::LineTooLong << 0 << QStringList() << 0;
    QTest::newRow("long finished line") << "220 " + longLine + "\r\n" << FtpReplyScan::LineTooLong << 0 << QStringList() << 0;
    QTest::newRow("endless multi-line") << manyLines << FtpReplyScan::TooLong << 0 << QStringList() << 0;
    QTest::newRow("invalid UTF-8") << QByteArray("550 \xff\xfe\r\n") << FtpReplyScan::Complete << 550
                                   << QStringList{QString::fromUtf8("\xff\xfe")} << 8;
}

void TestFtpReply::scan()
{
    QFETCH(QByteArray, input);
    QFETCH(FtpReplyScan::Status, status);

    const FtpReplyScan scan = scanFtpReply(input);
    QCOMPARE(scan.status, status);
    if (status == FtpReplyScan::Complete) {
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        QFETCH(int, consumed);
        QCOMPARE(scan.reply.code, code);
        QCOMPARE(scan.reply.lines, lines);
        QCOMPARE(scan.consumed, consumed);
    } else if (status != FtpReplyScan::Incomplete) {
        QVERIFY(!scan.error.isEmpty());
    }
}

void TestFtpReply::everyPrefixOfAReplyIsIncomplete()
{
    const QByteArray reply = "230-Welcome\r\n230 x\r\n 230 y\r\n230 Logged in\r\n";
    const qsizetype firstEnd = reply.indexOf("230 x\r\n") + 7;
    for (qsizetype length = 0; length < firstEnd; ++length)
        QCOMPARE(scanFtpReply(QByteArrayView(reply).first(length)).status, FtpReplyScan::Incomplete);
    QCOMPARE(scanFtpReply(reply).consumed, firstEnd);
}

void TestFtpReply::passiveReplies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");  // empty: no address found
    QTest::addColumn<int>("port");

    QTest::newRow("usual") << u"Entering passive mode (127,0,0,1,4,1)."_s << u"127.0.0.1"_s << 1025;
    QTest::newRow("no parentheses") << u"Entering Passive Mode 10,1,2,3,255,255"_s << u"10.1.2.3"_s << 65535;
    QTest::newRow("numbers before") << u"227 mode 5 (192,168,0,9,0,21)"_s << u"192.168.0.9"_s << 21;
    QTest::newRow("byte over 255") << u"(256,0,0,1,1,1)"_s << QString() << 0;
    QTest::newRow("too few") << u"(127,0,0,1,4)"_s << QString() << 0;
    QTest::newRow("seven numbers") << u"(1,2,3,4,5,6,7)"_s << QString() << 0;
    QTest::newRow("nothing") << u"Passive mode refused"_s << QString() << 0;
}

void TestFtpReply::passiveReplies()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QFETCH(int, port);
    const auto parsed = parsePasvReply(text);
    QCOMPARE(parsed.has_value(), !address.isEmpty());
    if (parsed) {
        QCOMPARE(parsed->address, QHostAddress(address));
        QCOMPARE(int(parsed->port), port);
    }
}

void TestFtpReply::extendedPassiveReplies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port");  // 0: no port found

    QTest::newRow("usual") << u"Entering extended passive mode (|||6446|)"_s << 6446;
    QTest::newRow("other delimiter") << u"(!!!21!)"_s << 21;
    QTest::newRow("port 0") << u"(|||0|)"_s << 0;
    QTest::newRow("port too big") << u"(|||70000|)"_s << 0;
    QTest::newRow("mixed delimiters") << u"(|!|21|)"_s << 0;
    QTest::newRow("no parentheses") << u"|||21|"_s << 0;
}

void TestFtpReply::extendedPassiveReplies()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    const auto parsed = parseEpsvReply(text);
    QCOMPARE(parsed.has_value(), port != 0);
    if (parsed)
        QCOMPARE(int(*parsed), port);
}

void TestFtpReply::portArgument()
{
    QCOMPARE(formatPortArgument(QHostAddress(u"127.0.0.1"_s), 1025), u"127,0,0,1,4,1"_s);
    QCOMPARE(formatPortArgument(QHostAddress(u"::ffff:10.0.0.2"_s), 65535), u"10,0,0,2,255,255"_s);
    QCOMPARE(formatEprtArgument(QHostAddress(u"::1"_s), 21), u"|2|::1|21|"_s);
}

QTEST_GUILESS_MAIN(TestFtpReply)
#include "test_ftpreply.moc"
