#include "net/tftp/tftppacket.h"
#include "net/tftp/tftpserver.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <memory>

using namespace Tftp;
using namespace Qt::StringLiterals;

namespace {

constexpr int ClientTimeoutMs = 180000;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    for (qsizetype i = size / 4 * 4; i < size; ++i)
        bytes[i] = char(generator.generate());
    return bytes;
}

QByteArray packet(std::initializer_list<QByteArrayView> fields, quint16 opcode)
{
    QByteArray bytes;
    bytes.append(char(opcode >> 8)).append(char(opcode));
    for (const QByteArrayView field : fields)
        bytes.append(field).append('\0');
    return bytes;
}

QByteArray ack(quint16 block)
{
    QByteArray bytes("\0\4", 2);
    return bytes.append(char(block >> 8)).append(char(block));
}

quint16 blockOf(const QByteArray &data)
{
    return quint16((quint8(data[2]) << 8) | quint8(data[3]));
}

bool runToEnd(QProcess &process)
{
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, ClientTimeoutMs);
}

// A hand-driven client for exchanges the real clients cannot be made to do.
struct RawClient {
    QUdpSocket socket;
    quint16 serverPort = 0;  // the transfer's port once data has come

    RawClient() { socket.bind(QHostAddress::LocalHost, 0); }

    void send(quint16 port, const QByteArray &bytes) { socket.writeDatagram(bytes, QHostAddress::LocalHost, port); }

    QByteArray receive()
    {
        if (!QTest::qWaitFor([&] { return socket.hasPendingDatagrams(); }, 20000))
            return {};
        const QNetworkDatagram datagram = socket.receiveDatagram();
        serverPort = quint16(datagram.senderPort());
        return datagram.data();
    }
};

} // namespace

class TestTftpServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        write(u"small.img"_s, randomBytes(1000, 1));
        write(u"blocks.img"_s, randomBytes(1024, 2));
        write(u"three.img"_s, randomBytes(1200, 3));
        write(u"empty.img"_s, {});
        write(u"image8.img"_s, randomBytes(8 << 20, 4));
        write(u"text.txt"_s, QByteArray("first line\nsecond\r\nlone\rcarriage\n\nend").repeated(200));
    }

    void init()
    {
        m_server = std::make_unique<TftpServer>();
        m_server->setDefaultPort(0);
        m_server->setTiming({300, 3});
        m_completions.clear();
        m_askedFor.clear();
        connect(m_server.get(), &TftpServer::readFile, this, [this](ReadFileRequest &request) {
            m_askedFor.append(request.fileName);
            request.fileName = m_served;
        });
        connect(m_server.get(), &TftpServer::transferComplete, this,
                [this](bool success, const Peer &) { m_completions.append(success); });
        QVERIFY(m_server->activate());
        m_port = m_server->localPort();
        QVERIFY(m_port != 0);
    }

    void cleanup() { m_server.reset(); }

    void realClientsCopyBytes_data()
    {
        QTest::addColumn<QStringList>("command");  // {port}, {local} and {remote} are filled in
        QTest::addColumn<QString>("file");

        const QStringList hpa{u"tftp"_s, u"-m"_s, u"octet"_s, u"127.0.0.1"_s, u"{port}"_s,
                              u"-c"_s, u"get"_s, u"{remote}"_s, u"{local}"_s};
        auto hpaMode = [&](const QString &mode) { QStringList c = hpa; c[2] = mode; return c; };
        auto atftp = [](const QStringList &options) {
            QStringList c{u"atftp"_s, u"--get"_s, u"-r"_s, u"{remote}"_s, u"-l"_s, u"{local}"_s};
            for (const QString &option : options)
                c << u"--option"_s << option;
            return c << u"127.0.0.1"_s << u"{port}"_s;
        };

        QTest::newRow("tftp-hpa small file") << hpa << u"small.img"_s;
        QTest::newRow("tftp-hpa binary whole blocks") << hpaMode(u"binary"_s) << u"blocks.img"_s;
        QTest::newRow("tftp-hpa empty file") << hpa << u"empty.img"_s;
        QTest::newRow("tftp-hpa 8 MiB") << hpa << u"image8.img"_s;
        QTest::newRow("tftp-hpa netascii") << hpaMode(u"netascii"_s) << u"text.txt"_s;
        QTest::newRow("atftp blksize tsize") << atftp({u"blksize 1428"_s, u"tsize 0"_s}) << u"image8.img"_s;
        QTest::newRow("atftp windowsize 8") << atftp({u"blksize 1428"_s, u"windowsize 8"_s}) << u"image8.img"_s;
        QTest::newRow("atftp windowsize 16 big blocks") << atftp({u"blksize 16000"_s, u"windowsize 16"_s}) << u"image8.img"_s;
        QTest::newRow("atftp timeout") << atftp({u"timeout 2"_s}) << u"small.img"_s;
        QTest::newRow("curl blksize") << QStringList{u"curl"_s, u"-sS"_s, u"--tftp-blksize"_s, u"1024"_s, u"-o"_s,
                                                     u"{local}"_s, u"tftp://127.0.0.1:{port}/{remote}"_s}
                                      << u"image8.img"_s;
    }

    // Whatever name the client asks for, it gets the chosen file.
    void realClientsCopyBytes()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, file);
        m_served = path(file);
        const QString local = path(u"copy.out"_s);
        QFile::remove(local);

        QProcess client;
        startClient(client, command, local, u"nowhere/boot.bin"_s);
        QVERIFY2(runToEnd(client), "client did not end");
        const QByteArray output = client.readAll();
        QVERIFY2(client.exitStatus() == QProcess::NormalExit && read(local) == read(m_served), output.constData());
        QCOMPARE(m_askedFor.value(0), u"nowhere/boot.bin"_s);
        QTRY_COMPARE_WITH_TIMEOUT(m_completions, QList<bool>{true}, 10000);
        QCOMPARE(m_server->runningTransfers(), 0);
    }

    // 40 MiB at 512 bytes per block needs more than 65535 blocks: the block
    // number wraps to 0 and goes on.
    void wrapsBlockNumbers()
    {
        write(u"image40.img"_s, randomBytes(40 << 20, 5));
        m_served = path(u"image40.img"_s);
        const QString local = path(u"copy40.out"_s);
        QProcess client;
        startClient(client, {u"tftp"_s, u"-m"_s, u"octet"_s, u"127.0.0.1"_s, u"{port}"_s, u"-c"_s, u"get"_s, u"{remote}"_s, u"{local}"_s},
                    local, u"big"_s);
        QVERIFY(runToEnd(client));
        QVERIFY(read(local) == read(m_served));
        QTRY_COMPARE_WITH_TIMEOUT(m_completions, QList<bool>{true}, 10000);
        QFile::remove(local);
        QFile::remove(m_served);
    }

    void answersRequests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("served");
        QTest::addColumn<QByteArray>("reply");   // the expected start of the answer
        QTest::addColumn<bool>("wholeReply");    // the answer must match completely

        const QByteArray text = "a\nb\rc";
        QTest::newRow("write refused") << packet({"x", "octet"}, 2) << u"small.img"_s << QByteArray("\0\5\0\2", 4) << false;
        QTest::newRow("unknown mode") << packet({"x", "mail"}, 1) << u"small.img"_s << QByteArray("\0\5\0\4", 4) << false;
        QTest::newRow("no mode") << QByteArray("\0\1x\0", 4) << u"small.img"_s << QByteArray("\0\5\0\4", 4) << false;
        QTest::newRow("data to the server port") << QByteArray("\0\3\0\1abc", 7) << u"small.img"_s << QByteArray("\0\5\0\4", 4) << false;
        QTest::newRow("unknown opcode") << QByteArray("\0\77", 2) << u"small.img"_s << QByteArray("\0\5\0\4", 4) << false;
        QTest::newRow("missing image") << packet({"x", "octet"}, 1) << u"gone.img"_s << QByteArray("\0\5\0\1", 4) << false;
        QTest::newRow("empty image field") << packet({"x", "octet"}, 1) << QString() << QByteArray("\0\5\0\1", 4) << false;
        QTest::newRow("image is a folder") << packet({"x", "octet"}, 1) << u"."_s << QByteArray("\0\5\0\1", 4) << false;
        QTest::newRow("netascii converted") << packet({"x", "NetASCII"}, 1) << u"tiny.txt"_s
                                            << QByteArray("\0\3\0\1a\r\nb\r\0c", 11) << true;
        QTest::newRow("options answered") << packet({"x", "octet", "blksize", "1024", "tsize", "0", "foo", "1"}, 1)
                                          << u"small.img"_s << packet({"blksize", "1024", "tsize", "1000"}, 6) << true;
        write(u"tiny.txt"_s, text);
    }

    // Refusals and failures to open come with a TFTP error; none of them is
    // a transfer, so none completes.
    void answersRequests()
    {
        QFETCH(QByteArray, request);
        QFETCH(QString, served);
        QFETCH(QByteArray, reply);
        QFETCH(bool, wholeReply);
        m_served = served.isEmpty() ? QString() : path(served);

        RawClient client;
        client.send(m_port, request);
        const QByteArray answer = client.receive();
        QCOMPARE(wholeReply ? answer : answer.left(reply.size()), reply);
        if (opcodeOf(answer) == Opcode::Error) {
            QTRY_COMPARE_WITH_TIMEOUT(m_server->runningTransfers(), 0, 10000);
            QVERIFY(m_completions.isEmpty());
        }
    }

    // Lock-step by hand: duplicate acknowledgements and strangers do not
    // disturb the transfer, a repeated request starts nothing new.
    void keepsTheExchangeInStep()
    {
        m_server->setTiming({60000, 3});  // no retransmission during this test
        m_served = path(u"three.img"_s);
        const QByteArray image = read(m_served);
        RawClient client;
        const QByteArray request = packet({"x", "octet"}, 1);
        client.send(m_port, request);
        client.send(m_port, request);
        client.send(m_port, QByteArray("\0\77", 2));  // its answer shows both requests were read

        // The listener's error and the transfer's first block race.
        QByteArray first = client.receive();
        quint16 transferPort = client.serverPort;
        QByteArray second = client.receive();
        if (opcodeOf(first) == Opcode::Error) {
            std::swap(first, second);
            transferPort = client.serverPort;
        }
        QCOMPARE(first, QByteArray("\0\3\0\1", 4) + image.left(512));
        QCOMPARE(second.left(4), QByteArray("\0\5\0\4", 4));
        QCOMPARE(m_server->runningTransfers(), 1);

        RawClient stranger;
        stranger.send(transferPort, ack(1));
        QCOMPARE(stranger.receive().left(4), QByteArray("\0\5\0\5", 4));

        client.send(transferPort, ack(1));
        client.send(transferPort, ack(1));
        QCOMPARE(client.receive(), QByteArray("\0\3\0\2", 4) + image.mid(512, 512));
        client.send(transferPort, ack(2));
        QCOMPARE(client.receive(), QByteArray("\0\3\0\3", 4) + image.mid(1024));
        QVERIFY(m_completions.isEmpty());
        client.send(transferPort, ack(3));
        QTRY_COMPARE_WITH_TIMEOUT(m_completions, QList<bool>{true}, 10000);
        QVERIFY(!client.socket.hasPendingDatagrams());
    }

    void clientErrorEndsTransfer()
    {
        m_served = path(u"image8.img"_s);
        RawClient client;
        client.send(m_port, packet({"x", "octet"}, 1));
        QCOMPARE(blockOf(client.receive()), quint16(1));
        client.send(client.serverPort, packet({"\0\3disk full"}, 5));
        QTRY_COMPARE_WITH_TIMEOUT(m_completions, QList<bool>{false}, 10000);
        QCOMPARE(m_server->runningTransfers(), 0);
    }

    // One client stops answering: its block is resent a bounded number of
    // times, then it is given up, while another client is served meanwhile.
    // Each request gets the file chosen at its arrival.
    void servesOthersWhileOneStalls()
    {
        m_served = path(u"small.img"_s);
        RawClient stalled;
        stalled.send(m_port, packet({"x", "octet"}, 1));
        QCOMPARE(blockOf(stalled.receive()), quint16(1));

        m_served = path(u"image8.img"_s);
        const QString local1 = path(u"one.out"_s), local2 = path(u"two.out"_s);
        QProcess one, two;
        const QStringList get{u"tftp"_s, u"127.0.0.1"_s, u"{port}"_s, u"-c"_s, u"get"_s, u"{remote}"_s, u"{local}"_s};
        startClient(one, get, local1, u"a"_s);
        QTRY_COMPARE_WITH_TIMEOUT(m_askedFor.size(), 2, 20000);
        m_served = path(u"blocks.img"_s);
        startClient(two, get, local2, u"b"_s);
        QVERIFY(runToEnd(one));
        QVERIFY(runToEnd(two));
        QCOMPARE(read(local1), read(path(u"image8.img"_s)));
        QCOMPARE(read(local2), read(path(u"blocks.img"_s)));

        QTRY_COMPARE_WITH_TIMEOUT(m_completions.size(), 3, 20000);
        QCOMPARE(m_completions.count(true), 2);
        QCOMPARE(m_completions.count(false), 1);
        int resent = 0;
        while (stalled.socket.hasPendingDatagrams()) {
            QCOMPARE(blockOf(stalled.socket.receiveDatagram().data()), quint16(1));
            ++resent;
        }
        QCOMPARE(resent, 3);
    }

    void refusesTakenPort()
    {
        QUdpSocket other;
        QVERIFY(other.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::ReuseAddressHint));
        TftpServer server;
        server.setDefaultPort(other.localPort());
        QVERIFY(!server.activate());
        QVERIFY(!server.isActive());
        QCOMPARE(server.bindError(), QAbstractSocket::AddressInUseError);
        other.close();
        QVERIFY(server.activate());
        QVERIFY(server.activate());
        QVERIFY(server.isActive());
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    void write(const QString &name, const QByteArray &content)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    }

    static QByteArray read(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void startClient(QProcess &client, QStringList command, const QString &local, const QString &remote)
    {
        for (QString &word : command)
            word.replace(u"{port}"_s, QString::number(m_port)).replace(u"{local}"_s, local).replace(u"{remote}"_s, remote);
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.start(command.takeFirst(), command);
        QVERIFY2(client.waitForStarted(), qPrintable(client.errorString()));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TftpServer> m_server;
    quint16 m_port = 0;
    QString m_served;
    QStringList m_askedFor;
    QList<bool> m_completions;
};

QTEST_GUILESS_MAIN(TestTftpServer)
#include "test_tftpserver.moc"
