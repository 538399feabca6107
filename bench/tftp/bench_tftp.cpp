// Serves 8 MiB and 64 MiB images on loopback from our server and from
// Debian's tftpd-hpa and atftpd to the same clients, and prints MB/s.
//   bench_tftp --servers <unpacked packages root> [--sizes 8,64] [--limit 120]
#include "net/tftp/tftpserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Case {
    QString name;
    QString client;          // "tftp" or "atftp"
    QStringList atftpOptions;
    QString debian;          // "tftpd-hpa" or "atftpd"
};

struct Result {
    double megabytesPerSecond = 0;
    QString problem;  // empty when the copy arrived whole
};

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

void print(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

QByteArray digestOf(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result();
}

class Bench {
public:
    Bench(QString serversRoot, int limitSeconds) : m_root(std::move(serversRoot)), m_limitMs(limitSeconds * 1000) {}
    ~Bench()
    {
        for (QProcess *server : {&m_hpa, &m_atftpd}) {
            server->terminate();
            if (!server->waitForFinished(5000))
                server->kill();
            server->waitForFinished();
        }
    }

    bool start(const QList<int> &sizes)
    {
        if (!m_dir.isValid())
            return false;
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                | QFileDevice::ReadOther | QFileDevice::ExeOther
                                                | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
        QRandomGenerator generator(7);
        for (const int mib : sizes) {
            QByteArray bytes(qsizetype(mib) << 20, Qt::Uninitialized);
            generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            QFile file(imagePath(mib));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return false;
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ReadOther | QFileDevice::ReadGroup);
            m_digests[mib] = digestOf(imagePath(mib));
        }

        m_ours.setDefaultPort(freePort());
        QObject::connect(&m_ours, &TftpServer::readFile, [this](Tftp::ReadFileRequest &request) {
            request.fileName = m_dir.filePath(QFileInfo(request.fileName).fileName());
        });
        if (!m_ours.activate()) {
            print(u"our server: "_s + m_ours.errorString());
            return false;
        }
        m_ports[u"ours"_s] = m_ours.localPort();

        const QString user = QString::fromLocal8Bit(getpwuid(getuid())->pw_name);
        const QString group = QString::fromLocal8Bit(getgrgid(getgid())->gr_name);
        const quint16 hpaPort = freePort();
        m_ports[u"tftpd-hpa"_s] = hpaPort;
        if (!startServer(m_hpa, u"/usr/sbin/in.tftpd"_s,
                         {u"-L"_s, u"-u"_s, user, u"-s"_s, m_dir.path(), u"-a"_s, u"127.0.0.1:"_s + QString::number(hpaPort)}))
            return false;
        const quint16 atftpdPort = freePort();
        m_ports[u"atftpd"_s] = atftpdPort;
        if (!startServer(m_atftpd, u"/usr/sbin/atftpd"_s,
                         {u"--daemon"_s, u"--no-fork"_s, u"--port"_s, QString::number(atftpdPort), u"--bind-address"_s,
                          u"127.0.0.1"_s, u"--user"_s, user, u"--group"_s, group, u"--logfile"_s, u"-"_s, m_dir.path()}))
            return false;
        // Wait until both answer.
        for (const QString &server : {u"tftpd-hpa"_s, u"atftpd"_s}) {
            bool up = false;
            for (int attempt = 0; attempt < 20 && !up; ++attempt)
                up = fetch({u"probe"_s, u"tftp"_s, {}, server}, server, sizes.first(), 5000).problem.isEmpty();
            if (!up) {
                print(server + u" does not answer"_s);
                return false;
            }
        }
        return true;
    }

    Result fetch(const Case &c, const QString &server, int mib, int limitMs = 0)
    {
        const QString local = m_dir.filePath(u"copy.out"_s);
        QFile::remove(local);
        const QString port = QString::number(m_ports.value(server));
        const QString remote = QFileInfo(imagePath(mib)).fileName();
        QStringList arguments;
        if (c.client == u"tftp"_s) {
            arguments = {u"-m"_s, u"octet"_s, u"127.0.0.1"_s, port, u"-c"_s, u"get"_s, remote, local};
        } else {
            arguments = {u"--get"_s, u"-r"_s, remote, u"-l"_s, local};
            for (const QString &option : c.atftpOptions)
                arguments << u"--option"_s << option;
            arguments << u"127.0.0.1"_s << port;
        }
        QProcess client;
        client.setStandardOutputFile(QProcess::nullDevice());
        client.setStandardErrorFile(QProcess::nullDevice());
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&client, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&client, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        client.start(c.client, arguments);
        limit.start(limitMs > 0 ? limitMs : m_limitMs);
        loop.exec();
        const qint64 elapsedNs = clock.nsecsElapsed();
        Result result;
        if (client.state() != QProcess::NotRunning) {
            client.kill();
            client.waitForFinished();
            result.problem = u"stalled"_s;
            return result;
        }
        if (digestOf(local) != m_digests.value(mib)) {
            result.problem = u"bad copy"_s;
            return result;
        }
        result.megabytesPerSecond = double(qint64(mib) << 20) / 1e6 / (double(elapsedNs) / 1e9);
        return result;
    }

private:
    QString imagePath(int mib) const { return m_dir.filePath(u"image%1.img"_s.arg(mib)); }

    bool startServer(QProcess &process, const QString &program, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LD_LIBRARY_PATH"_s, m_root + u"/usr/lib/x86_64-linux-gnu"_s);
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(m_root + program, arguments);
        if (!process.waitForStarted()) {
            print(program + u": "_s + process.errorString());
            return false;
        }
        return true;
    }

    QString m_root;
    int m_limitMs;
    QTemporaryDir m_dir;
    QHash<int, QByteArray> m_digests;
    QHash<QString, quint16> m_ports;
    TftpServer m_ours;
    QProcess m_hpa;
    QProcess m_atftpd;
};

QString cell(const Result &result)
{
    return result.problem.isEmpty() ? QString::number(result.megabytesPerSecond, 'f', 1) : result.problem;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({u"servers"_s, u"Root of the unpacked tftpd-hpa and atftpd packages."_s, u"dir"_s});
    parser.addOption({u"sizes"_s, u"Image sizes in MiB."_s, u"list"_s, u"8,64"_s});
    parser.addOption({u"limit"_s, u"Seconds after which one copy counts as stalled."_s, u"s"_s, u"120"_s});
    parser.addOption({u"rounds"_s, u"Copies per case and server; the best counts."_s, u"n"_s, u"2"_s});
    parser.addHelpOption();
    parser.process(app);
    if (!parser.isSet(u"servers"_s)) {
        print(u"--servers is required"_s);
        return 2;
    }
    QList<int> sizes;
    for (const QString &size : parser.value(u"sizes"_s).split(u','))
        sizes.append(size.toInt());
    const int rounds = std::max(1, parser.value(u"rounds"_s).toInt());

    Bench bench(parser.value(u"servers"_s), parser.value(u"limit"_s).toInt());
    if (!bench.start(sizes))
        return 1;

    const QList<Case> cases{
        {u"tftp-hpa client, blksize 512"_s, u"tftp"_s, {}, u"tftpd-hpa"_s},
        {u"atftp, blksize 512"_s, u"atftp"_s, {u"blksize 512"_s}, u"tftpd-hpa"_s},
        {u"atftp, blksize 1428"_s, u"atftp"_s, {u"blksize 1428"_s}, u"tftpd-hpa"_s},
        {u"atftp, blksize 1428, windowsize 8"_s, u"atftp"_s, {u"blksize 1428"_s, u"windowsize 8"_s}, u"atftpd"_s},
        {u"atftp, blksize 1428, windowsize 16"_s, u"atftp"_s, {u"blksize 1428"_s, u"windowsize 16"_s}, u"atftpd"_s},
    };
    print(u"MB/s (10^6 bytes per second), best of %1, loopback"_s.arg(rounds));
    print(u"%1 %2 %3 %4"_s.arg(u"case"_s, -38).arg(u"image"_s, 7).arg(u"ours"_s, 9).arg(u"Debian"_s, 18));
    for (const int mib : sizes) {
        for (const Case &c : cases) {
            Result ours, theirs;
            for (int round = 0; round < rounds; ++round) {
                // Alternate who goes first so that neither profits from a warm cache.
                const bool oursFirst = round % 2 == 0;
                Result a = bench.fetch(c, oursFirst ? u"ours"_s : c.debian, mib);
                Result b = bench.fetch(c, oursFirst ? c.debian : u"ours"_s, mib);
                const Result &o = oursFirst ? a : b, &t = oursFirst ? b : a;
                if (round == 0 || (o.problem.isEmpty() && o.megabytesPerSecond > ours.megabytesPerSecond))
                    ours = o;
                if (round == 0 || (t.problem.isEmpty() && t.megabytesPerSecond > theirs.megabytesPerSecond))
                    theirs = t;
            }
            print(u"%1 %2 %3 %4"_s.arg(c.name, -38).arg(u"%1 MiB"_s.arg(mib), 7).arg(cell(ours), 9)
                      .arg(cell(theirs) + u" ("_s + c.debian + u')', 18));
        }
    }
    return 0;
}
