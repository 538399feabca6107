#include "net/telnet/telnetsession.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int Wait = 15000;

// Telnet protocol bytes, spelled out so the rows below read like the wire.
constexpr char IAC = char(255), DONT = char(254), DO = char(253), WONT = char(252), WILL = char(251);
constexpr char SB = char(250), SE = char(240);
constexpr char ECHO = char(1), SGA = char(3), TTYPE = char(24), NAWS = char(31), COMPRESS2 = char(86);

QByteArray bytes(std::initializer_list<char> list)
{
    return QByteArray(list.begin(), qsizetype(list.size()));
}

// The box's side of one connection: a listening socket on loopback and the
// connection the session makes to it.
struct FakeBox {
    QTcpServer server;
    QTcpSocket *peer = nullptr;
    QByteArray received;

    FakeBox()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, peer, [this] { received += peer->readAll(); });
        });
    }
    bool accept(TelnetSession &session)
    {
        QSignalSpy connected(&session, &TelnetSession::connected);
        session.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
        return connected.wait(Wait) && QTest::qWaitFor([this] { return peer != nullptr; }, Wait);
    }
    void write(const QByteArray &data)
    {
        peer->write(data);
        peer->flush();
    }
};

} // namespace

class TestTelnetSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void negotiatesOptions_data();
    void negotiatesOptions();
    void handsOutDataWithoutProtocol();
    void escapesIacOnSending();
    void survivesMalformedStream_data();
    void survivesMalformedStream();
    void reportsRefusedConnection();
    void reportsClosingByTheBox();
};

void TestTelnetSession::negotiatesOptions_data()
{
    QTest::addColumn<QByteArray>("fromBox");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("terminal type agreed") << bytes({IAC, DO, TTYPE}) << bytes({IAC, WILL, TTYPE});
    QTest::newRow("terminal type sent as VT100")
            << bytes({IAC, SB, TTYPE, 1, IAC, SE}) << QByteArray(bytes({IAC, SB, TTYPE, 0}) + "VT100" + bytes({IAC, SE}));
    QTest::newRow("box echoes") << bytes({IAC, WILL, ECHO}) << bytes({IAC, DO, ECHO});
    QTest::newRow("box suppresses go-ahead") << bytes({IAC, WILL, SGA}) << bytes({IAC, DO, SGA});
    QTest::newRow("no local echo") << bytes({IAC, DO, ECHO}) << bytes({IAC, WONT, ECHO});
    QTest::newRow("window size refused") << bytes({IAC, DO, NAWS}) << bytes({IAC, WONT, NAWS});
    QTest::newRow("compression refused") << bytes({IAC, WILL, COMPRESS2}) << bytes({IAC, DONT, COMPRESS2});
    QTest::newRow("unknown option refused") << bytes({IAC, WILL, char(99)}) << bytes({IAC, DONT, char(99)});
}

void TestTelnetSession::negotiatesOptions()
{
    QFETCH(QByteArray, fromBox);
    QFETCH(QByteArray, answer);
    FakeBox box;
    TelnetSession session;
    QVERIFY(box.accept(session));
    if (fromBox.at(1) == SB)  // a terminal-type request needs the option agreed first
        box.write(bytes({IAC, DO, TTYPE}));
    box.write(fromBox);
    QTRY_VERIFY_WITH_TIMEOUT(box.received.endsWith(answer), Wait);
}

void TestTelnetSession::handsOutDataWithoutProtocol()
{
    FakeBox box;
    TelnetSession session;
    QSignalSpy data(&session, &TelnetSession::dataReceived);
    QVERIFY(box.accept(session));

    // A read of protocol alone yields nothing; the next one yields its text
    // with the protocol taken out and a doubled IAC made single.
    box.write(bytes({IAC, WILL, ECHO, IAC, WILL, SGA}));
    QTRY_VERIFY_WITH_TIMEOUT(box.received.contains(bytes({IAC, DO, SGA})), Wait);
    box.write(QByteArray("login:" + bytes({IAC, DO, NAWS}) + " a" + bytes({IAC, IAC}) + "b\r\n$ "));
    QTRY_COMPARE_WITH_TIMEOUT(data.size(), 1, Wait);
    QCOMPARE(data.at(0).at(0).toByteArray(), QByteArray("login: a" + bytes({IAC}) + "b\r\n$ "));
}

void TestTelnetSession::escapesIacOnSending()
{
    FakeBox box;
    TelnetSession session;
    QVERIFY(box.accept(session));
    QVERIFY(session.send(QByteArray("pa" + bytes({IAC}) + "ss\r")));
    QTRY_COMPARE_WITH_TIMEOUT(box.received, QByteArray("pa" + bytes({IAC, IAC}) + "ss\r"), Wait);
    session.disconnectFromHost();
    QVERIFY(!session.send("more\r"));
}

void TestTelnetSession::survivesMalformedStream_data()
{
    QTest::addColumn<QByteArray>("fromBox");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<bool>("broken");

    QTest::newRow("subnegotiation without option") << bytes({IAC, SB, IAC, SE, IAC, SE}) << false << false;
    QTest::newRow("empty terminal-type request")
            << bytes({IAC, DO, TTYPE, IAC, SB, TTYPE, IAC, SE}) << true << false;
    QTest::newRow("endless subnegotiation")
            << QByteArray(bytes({IAC, SB, TTYPE, 1}) + QByteArray(20000, 'x') + bytes({IAC, SE})) << true << false;
    QTest::newRow("unknown commands") << bytes({IAC, char(17), IAC, char(200)}) << false << false;
    QTest::newRow("subnegotiation of an option never agreed")
            << bytes({IAC, SB, NAWS, 0, 80, 0, 25, IAC, SE}) << false << false;
    QTest::newRow("compressed stream of garbage")
            << QByteArray(bytes({IAC, SB, COMPRESS2, IAC, SE}) + QByteArray(4000, char(0xA5))) << false << true;
}

// Whatever the box sends, the session neither crashes nor hangs: it goes on
// handing out text, saying what it skipped, or reports that the stream is
// broken beyond repair and closes.
void TestTelnetSession::survivesMalformedStream()
{
    QFETCH(QByteArray, fromBox);
    QFETCH(bool, warned);
    QFETCH(bool, broken);
    FakeBox box;
    TelnetSession session;
    QByteArray data;
    connect(&session, &TelnetSession::dataReceived, this, [&data](const QByteArray &chunk) { data += chunk; });
    QSignalSpy closed(&session, &TelnetSession::closed);
    QSignalSpy warnings(&session, &TelnetSession::protocolWarning);
    QVERIFY(box.accept(session));

    box.write(fromBox + "still here\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(!closed.isEmpty() || data.endsWith("still here\r\n"), Wait);
    QCOMPARE(!warnings.isEmpty(), warned);
    QCOMPARE(!closed.isEmpty(), broken);
    if (broken) {
        QVERIFY(closed.at(0).at(0).toString().contains(u"broken"));
        QVERIFY(!session.isConnected());
    } else {
        QVERIFY(session.send("ls\r"));
    }
}

void TestTelnetSession::reportsRefusedConnection()
{
    quint16 port = 0;
    {
        QTcpServer unused;
        QVERIFY(unused.listen(QHostAddress::LocalHost, 0));
        port = unused.serverPort();
    }
    TelnetSession session;
    QSignalSpy failed(&session, &TelnetSession::connectFailed);
    session.connectToHost(QStringLiteral("127.0.0.1"), port);
    QVERIFY(session.isConnecting());
    QVERIFY(failed.wait(Wait));
    QVERIFY(!failed.at(0).at(0).toString().isEmpty());
    QVERIFY(!session.isConnected());
    QVERIFY(!session.isConnecting());
}

void TestTelnetSession::reportsClosingByTheBox()
{
    FakeBox box;
    TelnetSession session;
    QSignalSpy data(&session, &TelnetSession::dataReceived);
    QSignalSpy closed(&session, &TelnetSession::closed);
    QVERIFY(box.accept(session));
    box.write("bye\r\n");
    box.peer->disconnectFromHost();
    QVERIFY(closed.wait(Wait));
    QCOMPARE(closed.at(0).at(0).toString(), QString());
    QCOMPARE(data.size(), 1);  // text sent just before closing is not lost
    QCOMPARE(data.at(0).at(0).toByteArray(), QByteArray("bye\r\n"));
}

QTEST_GUILESS_MAIN(TestTelnetSession)
#include "test_telnetsession.moc"
