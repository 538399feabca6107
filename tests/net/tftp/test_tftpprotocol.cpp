#include "net/tftp/netascii.h"
#include "net/tftp/tftpoptions.h"
#include "net/tftp/tftppacket.h"

#include <QBuffer>
#include <QTest>

using namespace Tftp;

namespace {

QByteArray bytes(const char *text, qsizetype size) { return QByteArray(text, size); }

} // namespace

class TestTftpProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesRequests_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QByteArray>("fileName");
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QByteArray>("options");  // "name=value;..."

        const char rrq[] = "\0\1boot.img\0octet\0";
        QTest::newRow("plain read") << bytes(rrq, sizeof rrq - 1) << true << QByteArray("boot.img") << QByteArray("octet") << QByteArray();
        const char wrq[] = "\0\2a\0netascii\0";
        QTest::newRow("write") << bytes(wrq, sizeof wrq - 1) << true << QByteArray("a") << QByteArray("netascii") << QByteArray();
        const char opts[] = "\0\1f\0OCTET\0blksize\0001428\0tsize\0000\0";
        QTest::newRow("options") << bytes(opts, sizeof opts - 1) << true << QByteArray("f") << QByteArray("OCTET")
                                 << QByteArray("blksize=1428;tsize=0;");
        const char padded[] = "\0\1f\0octet\0\0\0\0";
        QTest::newRow("zero padding") << bytes(padded, sizeof padded - 1) << true << QByteArray("f") << QByteArray("octet") << QByteArray();

        const char noModeEnd[] = "\0\1f\0octet";
        QTest::newRow("mode not ended") << bytes(noModeEnd, sizeof noModeEnd - 1) << false << QByteArray() << QByteArray() << QByteArray();
        const char noMode[] = "\0\1f\0";
        QTest::newRow("no mode") << bytes(noMode, sizeof noMode - 1) << false << QByteArray() << QByteArray() << QByteArray();
        const char emptyName[] = "\0\1\0octet\0";
        QTest::newRow("empty name") << bytes(emptyName, sizeof emptyName - 1) << false << QByteArray() << QByteArray() << QByteArray();
        const char halfOption[] = "\0\1f\0octet\0blksize\0";
        QTest::newRow("option without value") << bytes(halfOption, sizeof halfOption - 1) << false << QByteArray() << QByteArray() << QByteArray();
        const char junkAfterPad[] = "\0\1f\0octet\0\0x";
        QTest::newRow("junk after padding") << bytes(junkAfterPad, sizeof junkAfterPad - 1) << false << QByteArray() << QByteArray() << QByteArray();
        const char ack[] = "\0\4\0\1";
        QTest::newRow("ack is no request") << bytes(ack, 4) << false << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("one byte") << QByteArray(1, '\1') << false << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("unknown opcode") << bytes("\0\11f\0octet\0", 10) << false << QByteArray() << QByteArray() << QByteArray();
    }

    void parsesRequests()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, valid);
        const auto request = parseRequest(datagram);
        QCOMPARE(request.has_value(), valid);
        if (!valid)
            return;
        QFETCH(QByteArray, fileName);
        QFETCH(QByteArray, mode);
        QFETCH(QByteArray, options);
        QCOMPARE(request->fileName, fileName);
        QCOMPARE(request->mode, mode);
        QByteArray seen;
        for (const Option &option : request->options)
            seen += option.name + '=' + option.value + ';';
        QCOMPARE(seen, options);
    }

    void parsesAcksAndErrors()
    {
        QCOMPARE(parseAck(bytes("\0\4\xff\xfe", 4)), std::optional<quint16>(0xfffe));
        QCOMPARE(parseAck(bytes("\0\4\0", 3)), std::nullopt);
        QCOMPARE(parseAck(bytes("\0\3\0\1", 4)), std::nullopt);
        const auto error = parseError(buildError(ErrorCode::DiskFull, "full"));
        QVERIFY(error);
        QCOMPARE(error->code, quint16(3));
        QCOMPARE(error->message, QByteArray("full"));
        // A message without its ending zero is still read.
        QCOMPARE(parseError(bytes("\0\5\0\1gone", 8))->message, QByteArray("gone"));
        QCOMPARE(parseError(bytes("\0\5\0", 3)), std::nullopt);
    }

    void negotiatesOptions_data()
    {
        QTest::addColumn<QByteArray>("requested");  // "name=value;..."
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("buffer");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<int>("windowSize");
        QTest::addColumn<int>("timeout");

        QTest::newRow("none") << QByteArray() << qint64(100) << qint64(1 << 20) << QByteArray() << 512 << 1 << 0;
        QTest::newRow("all four") << QByteArray("BLKSIZE=1428;tsize=0;timeout=3;windowsize=8;") << qint64(9000)
                                  << qint64(1 << 20) << QByteArray("BLKSIZE=1428;tsize=9000;timeout=3;windowsize=8;")
                                  << 1428 << 8 << 3;
        QTest::newRow("block size too large") << QByteArray("blksize=70000;") << qint64(1) << qint64(1 << 20)
                                              << QByteArray("blksize=65464;") << 65464 << 1 << 0;
        QTest::newRow("block size too small") << QByteArray("blksize=7;") << qint64(1) << qint64(1 << 20) << QByteArray() << 512 << 1 << 0;
        QTest::newRow("not a number") << QByteArray("blksize=big;timeout=0;windowsize=-1;") << qint64(1) << qint64(1 << 20)
                                      << QByteArray() << 512 << 1 << 0;
        QTest::newRow("unknown option") << QByteArray("multicast=;tsize=0;") << qint64(5) << qint64(1 << 20)
                                        << QByteArray("tsize=5;") << 512 << 1 << 0;
        QTest::newRow("size unknown") << QByteArray("tsize=0;") << qint64(-1) << qint64(1 << 20) << QByteArray() << 512 << 1 << 0;
        QTest::newRow("repeated option") << QByteArray("blksize=1024;blksize=2048;") << qint64(1) << qint64(1 << 20)
                                         << QByteArray("blksize=1024;") << 1024 << 1 << 0;
        QTest::newRow("window capped by buffer")
            << QByteArray("blksize=1428;windowsize=16;") << qint64(1) << windowBufferBytes(1428, 5)
            << QByteArray("blksize=1428;windowsize=5;") << 1428 << 5 << 0;
        QTest::newRow("window larger than a client's buffer")
            << QByteArray("blksize=16000;windowsize=16;") << qint64(1) << qint64(1 << 24)
            << QByteArray("blksize=16000;windowsize=6;") << 16000 << 6 << 0;
        QTest::newRow("window beyond limit") << QByteArray("windowsize=65535;") << qint64(1) << qint64(1) << QByteArray("windowsize=1;")
                                             << 512 << 1 << 0;
    }

    void negotiatesOptions()
    {
        QFETCH(QByteArray, requested);
        QFETCH(qint64, size);
        QFETCH(qint64, buffer);
        QList<Option> options;
        for (const QByteArray &pair : requested.split(';')) {
            if (pair.isEmpty())
                continue;
            const auto parts = pair.split('=');
            options.append({parts.value(0), parts.value(1)});
        }
        Negotiated negotiated = negotiate(options, size);
        capWindow(negotiated, buffer);
        QByteArray answer;
        for (const Option &option : negotiated.answer)
            answer += option.name + '=' + option.value + ';';
        QTEST(answer, "answer");
        QTEST(negotiated.blockSize, "blockSize");
        QTEST(negotiated.windowSize, "windowSize");
        QTEST(negotiated.timeoutSeconds, "timeout");
    }

    void convertsNetascii_data()
    {
        QTest::addColumn<QByteArray>("local");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("line feeds") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone carriage return") << QByteArray("a\rb") << bytes("a\r\0b", 4);
        QTest::newRow("crlf in the file") << QByteArray("a\r\n") << bytes("a\r\0\r\n", 5);
        QTest::newRow("binary bytes untouched") << bytes("\0\xff\t", 3) << bytes("\0\xff\t", 3);
    }

    void convertsNetascii()
    {
        QFETCH(QByteArray, local);
        QFETCH(QByteArray, wire);
        QCOMPARE(toNetascii(local), wire);

        // Read through block-sized pieces of every size, the result and the
        // announced size stay the same.
        QByteArray content = local.repeated(3000);
        QBuffer buffer(&content);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(netasciiSize(buffer), qint64(wire.size()) * 3000);
        for (const int piece : {1, 7, 512, 10000}) {
            buffer.seek(0);
            BlockSource source(buffer, true);
            QByteArray read;
            QByteArray chunk(piece, Qt::Uninitialized);
            qint64 got = 0;
            while ((got = source.read(chunk.data(), piece)) == piece)
                read += chunk;
            QVERIFY(got >= 0);
            read += chunk.left(got);
            QCOMPARE(read, wire.repeated(3000));
        }
    }
};

QTEST_GUILESS_MAIN(TestTftpProtocol)
#include "test_tftpprotocol.moc"
