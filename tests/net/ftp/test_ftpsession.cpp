#include "net/ftp/ftpsession.h"
#include "support/awaittask.h"
#include "support/ftpserver.h"

#include <QDir>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

#ifdef Q_OS_UNIX
// A listening socket on loopback whose accept queue is full: the kernel
// drops further SYNs, so a connect to it hangs like one to a switched-off box.
class FullBacklog {
public:
    ~FullBacklog()
    {
        m_fillers.clear();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool setUp()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(m_fd, 0) != 0
            || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return false;
        m_port = ntohs(address.sin_port);
        for (int i = 0; i < 8; ++i) {
            auto filler = std::make_unique<QTcpSocket>();
            filler->connectToHost(QHostAddress::LocalHost, m_port);
            const bool connected = filler->waitForConnected(1000);
            m_fillers.push_back(std::move(filler));
            if (!connected)
                return true;  // this one hangs: the queue is full
        }
        return false;
    }
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};
#else
class FullBacklog {
public:
    bool setUp() { return false; }
    quint16 port() const { return 0; }
};
#endif

// A TCP server that greets with fixed bytes and then says nothing more.
class ScriptedGreeter : public QTcpServer {
public:
    explicit ScriptedGreeter(QByteArray greeting) : m_greeting(std::move(greeting))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = nextPendingConnection())
                client->write(m_greeting);
        });
    }

private:
    QByteArray m_greeting;
};

enum FailingStep { MissingFolder, MissingRemoteFile, DeleteMissing, MissingLocalFile, MissingLocalFolder, LineBreak };

} // namespace

class TestFtpSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operations_data();
    void operations();
    void failedSteps_data();
    void failedSteps();
    void refusedLogin_data();
    void refusedLogin();
    void connectFailures_data();
    void connectFailures();
    void brokenGreetings_data();
    void brokenGreetings();
    void silentServerWaitsUntilAborted();
    void earlyClosedDownloadKeepsOldFile_data();
    void earlyClosedDownloadKeepsOldFile();
};

void TestFtpSession::operations_data()
{
    QTest::addColumn<bool>("passive");
    QTest::newRow("active") << false;
    QTest::newRow("passive") << true;
}

void TestFtpSession::operations()
{
    QFETCH(bool, passive);
    QTemporaryDir root, local;
    QVERIFY(QDir(root.path()).mkpath(u"tmp"_s));
    TestFtpServer server;
    QVERIFY2(server.start(root.path()), qPrintable(server.error()));
    FtpSession session;
    session.setPassive(passive);
    QSignalSpy begins(&session, &FtpSession::workBegin);
    QSignalSpy works(&session, &FtpSession::work);

    FtpResult result = awaitTask(session.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));
    QVERIFY(session.isConnected());
    result = awaitTask(session.changeDirectory(u"/tmp"_s));
    QVERIFY2(result, qPrintable(result.error));

    // A local file, sent whole, with progress up to its size.
    const QByteArray image = ftpTestPattern(3 * 1024 * 1024 + 17, 1);
    QVERIFY(writeTestFile(local.filePath(u"image.bin"_s), image));
    result = awaitTask(session.storeFile(local.filePath(u"image.bin"_s), u"image.img"_s));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(readTestFile(root.filePath(u"tmp/image.img"_s)), image);
    QCOMPARE(begins.first().at(0).toLongLong(), image.size());
    QCOMPARE(works.last().at(0).toLongLong(), image.size());

    // Bytes from memory, and an empty file.
    const QByteArray writer = ftpTestPattern(70001, 2);
    result = awaitTask(session.storeData(writer, u"fcp"_s));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(readTestFile(root.filePath(u"tmp/fcp"_s)), writer);
    result = awaitTask(session.storeData(QByteArray(), u"empty"_s));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(readTestFile(root.filePath(u"tmp/empty"_s)), QByteArray(""));

    // A download replaces a longer local file; its progress has no total.
    QVERIFY(writeTestFile(local.filePath(u"mtd.txt"_s), QByteArray(5 * 1024 * 1024, 'o')));
    begins.clear();
    works.clear();
    result = awaitTask(session.retrieve(u"fcp"_s, local.filePath(u"mtd.txt"_s)));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(readTestFile(local.filePath(u"mtd.txt"_s)), writer);
    QCOMPARE(begins.size(), 1);
    QCOMPARE(begins.first().at(0).toLongLong(), 0);
    QCOMPARE(works.last().at(0).toLongLong(), writer.size());
    result = awaitTask(session.retrieve(u"empty"_s, local.filePath(u"empty"_s)));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(readTestFile(local.filePath(u"empty"_s)), QByteArray(""));
    QCOMPARE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"empty"_s, u"image.bin"_s, u"mtd.txt"_s}));

    result = awaitTask(session.changeToParent());
    QVERIFY2(result, qPrintable(result.error));
    result = awaitTask(session.changeDirectory(u"tmp"_s));
    QVERIFY2(result, qPrintable(result.error));
    result = awaitTask(session.remove(u"fcp"_s));
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(result.replyCode, 250);
    QVERIFY(!QFile::exists(root.filePath(u"tmp/fcp"_s)));

    session.disconnectFromHost();
    QVERIFY(!session.isConnected());
    result = awaitTask(session.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));
}

void TestFtpSession::failedSteps_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<int>("replyCode");

    QTest::newRow("CWD to a missing folder") << int(MissingFolder) << u"CWD /missing: server replied 550"_s << 550;
    QTest::newRow("RETR of a missing file") << int(MissingRemoteFile) << u"RETR missing.bin: server replied 550"_s << 550;
    QTest::newRow("DELE of a missing file") << int(DeleteMissing) << u"DELE missing.bin: server replied 550"_s << 550;
    QTest::newRow("STOR of a missing local file") << int(MissingLocalFile) << u"cannot open local file"_s << 0;
    QTest::newRow("RETR into a missing local folder") << int(MissingLocalFolder) << u"cannot create local file"_s << 0;
    QTest::newRow("line break in a name") << int(LineBreak) << u"line breaks are not allowed"_s << 0;
}

void TestFtpSession::failedSteps()
{
    QFETCH(int, step);
    QFETCH(QString, errorText);
    QFETCH(int, replyCode);
    QTemporaryDir root, local;
    QVERIFY(QDir(root.path()).mkpath(u"tmp"_s));
    QVERIFY(writeTestFile(root.filePath(u"keep"_s), "on the box"));
    QVERIFY(writeTestFile(local.filePath(u"keep.txt"_s), "earlier download"));
    TestFtpServer server;
    QVERIFY2(server.start(root.path()), qPrintable(server.error()));
    FtpSession session;
    FtpResult result = awaitTask(session.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));

    switch (FailingStep(step)) {
    case MissingFolder:
        result = awaitTask(session.changeDirectory(u"/missing"_s));
        break;
    case MissingRemoteFile:
        result = awaitTask(session.retrieve(u"missing.bin"_s, local.filePath(u"keep.txt"_s)));
        break;
    case DeleteMissing:
        result = awaitTask(session.remove(u"missing.bin"_s));
        break;
    case MissingLocalFile:
        result = awaitTask(session.storeFile(local.filePath(u"missing.img"_s), u"image.img"_s));
        break;
    case MissingLocalFolder:
        result = awaitTask(session.retrieve(u"keep"_s, local.filePath(u"no/such/folder/keep"_s)));
        break;
    case LineBreak:
        result = awaitTask(session.changeDirectory(u"tmp\r\nDELE keep"_s));
        break;
    }
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(errorText), qPrintable(result.error));
    QCOMPARE(result.replyCode, replyCode);

    // Nothing else was touched, and the session is still in step.
    QCOMPARE(readTestFile(local.filePath(u"keep.txt"_s)), QByteArray("earlier download"));
    QCOMPARE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"keep.txt"_s});
    QCOMPARE(readTestFile(root.filePath(u"keep"_s)), QByteArray("on the box"));
    QVERIFY(!QFile::exists(root.filePath(u"image.img"_s)));
    result = awaitTask(session.changeDirectory(u"/tmp"_s));
    QVERIFY2(result, qPrintable(result.error));
}

void TestFtpSession::refusedLogin_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("maxLogins");
    QTest::addColumn<int>("loginsBefore");

    QTest::newRow("wrong password") << u"not-the-password"_s << 0 << 0;
    QTest::newRow("log-in after the last allowed one") << u"secret"_s << 1 << 1;
}

void TestFtpSession::refusedLogin()
{
    QFETCH(QString, password);
    QFETCH(int, maxLogins);
    QFETCH(int, loginsBefore);
    QTemporaryDir root;
    TestFtpServer::Options options;
    options.maxLogins = maxLogins;
    TestFtpServer server;
    QVERIFY2(server.start(root.path(), options), qPrintable(server.error()));
    FtpSession session;
    for (int i = 0; i < loginsBefore; ++i) {
        const FtpResult first = awaitTask(session.connectAndLogin(server.login(), 10000));
        QVERIFY2(first, qPrintable(first.error));
        session.disconnectFromHost();
    }

    FtpLogin login = server.login();
    login.password = password;
    const FtpResult result = awaitTask(session.connectAndLogin(login, 10000));
    QVERIFY(!result.ok);
    QCOMPARE(result.replyCode, 530);
    QVERIFY2(result.error.startsWith(u"PASS ***: server replied 530"_s), qPrintable(result.error));
    QVERIFY(!result.error.contains(password));
    QVERIFY(!session.isConnected());
}

void TestFtpSession::connectFailures_data()
{
    QTest::addColumn<bool>("hanging");
    QTest::addColumn<QString>("errorText");
    QTest::newRow("nothing listens") << false << u"cannot connect to 127.0.0.1:"_s;
    QTest::newRow("no answer") << true << u"within 1500 ms"_s;
}

void TestFtpSession::connectFailures()
{
    QFETCH(bool, hanging);
    QFETCH(QString, errorText);
    FullBacklog backlog;
    quint16 port = 0;
    if (hanging) {
        if (!backlog.setUp())
            QSKIP("cannot fill a listening socket's accept queue here");
        port = backlog.port();
    } else {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        port = closed.serverPort();
    }
    FtpSession session;
    const FtpResult result = awaitTask(session.connectAndLogin({u"127.0.0.1"_s, port, u"root"_s, QString()}, 1500));
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(errorText), qPrintable(result.error));
    QVERIFY(!session.isConnected());
}

void TestFtpSession::brokenGreetings_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QString>("errorText");
    QTest::newRow("over-long line") << "220-" + QByteArray(5000, 'x') << u"greeting: reply line longer than 4096 bytes"_s;
    QTest::newRow("not FTP") << QByteArray("SSH-2.0-OpenSSH\r\n") << u"greeting: malformed reply \"SSH-2.0-OpenSSH\""_s;
    QTest::newRow("busy") << QByteArray("421 Too many users\r\n") << u"greeting: server replied 421 Too many users"_s;
}

void TestFtpSession::brokenGreetings()
{
    QFETCH(QByteArray, greeting);
    QFETCH(QString, errorText);
    ScriptedGreeter server(greeting);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    FtpSession session;
    const FtpResult result = awaitTask(session.connectAndLogin({u"127.0.0.1"_s, server.serverPort(), u"root"_s, QString()}, 10000));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, errorText);
    QVERIFY(!session.isConnected());
}

void TestFtpSession::silentServerWaitsUntilAborted()
{
    QTemporaryDir root;
    TestFtpServer::Options options;
    options.silentAfterAccept = true;
    TestFtpServer server;
    QVERIFY2(server.start(root.path(), options), qPrintable(server.error()));
    FtpSession session;
    QCoro::Task<FtpResult> connecting = session.connectAndLogin(server.login(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(session.isConnected(), 20000);
    // Well past the connection time-out: replies have no time limit.
    QTest::qWait(2500);
    QVERIFY(!connecting.isReady());
    QVERIFY(session.isBusy());

    session.abort(u"stopped by the test"_s);
    QTRY_VERIFY_WITH_TIMEOUT(connecting.isReady(), 20000);
    const FtpResult result = awaitTask(std::move(connecting));
    QCOMPARE(result.error, u"greeting: stopped by the test"_s);
    QVERIFY(!session.isConnected());
    QVERIFY(!session.isBusy());
}

void TestFtpSession::earlyClosedDownloadKeepsOldFile_data()
{
    operations_data();
}

void TestFtpSession::earlyClosedDownloadKeepsOldFile()
{
    QFETCH(bool, passive);
    QTemporaryDir root, local;
    QVERIFY(writeTestFile(root.filePath(u"save.img"_s), ftpTestPattern(600000, 3)));
    QVERIFY(writeTestFile(local.filePath(u"backup.img"_s), "the earlier backup"));
    TestFtpServer::Options options;
    options.closeDataEarly = 100000;
    TestFtpServer server;
    QVERIFY2(server.start(root.path(), options), qPrintable(server.error()));
    FtpSession session;
    session.setPassive(passive);
    FtpResult result = awaitTask(session.connectAndLogin(server.login(), 10000));
    QVERIFY2(result, qPrintable(result.error));

    result = awaitTask(session.retrieve(u"save.img"_s, local.filePath(u"backup.img"_s)));
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith(u"RETR save.img: "_s), qPrintable(result.error));
    QCOMPARE(result.replyCode, 426);
    QCOMPARE(readTestFile(local.filePath(u"backup.img"_s)), QByteArray("the earlier backup"));
    QCOMPARE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"backup.img"_s});
}

QTEST_GUILESS_MAIN(TestFtpSession)
#include "test_ftpsession.moc"
