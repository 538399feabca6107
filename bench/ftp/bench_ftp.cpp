// Uploads and downloads a 64 MiB file through IdFTP1's client and through
// the curl command-line tool against one local pyftpdlib server, active and
// passive, and prints the best of a few runs of each with the ratio.

#include "jobs/transfer/boxftp.h"
#include "support/ftpserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 FileSize = 64 * 1024 * 1024;
constexpr int Runs = 15;

struct Bench {
    TestFtpServer &server;
    QString root;
    QString local;

    // Seconds for connect, log-in, the transfer and disconnect; < 0 on failure.
    double ours(bool passive, bool upload)
    {
        BoxFtp ftp;
        ftp.setPassive(passive);
        QElapsedTimer clock;
        clock.start();
        BoxFtpLease lease = QCoro::waitFor(ftp.acquire());
        FtpResult result = QCoro::waitFor(lease.connectAndLogin(server.login(), 10000));
        if (result)
            result = upload ? QCoro::waitFor(lease.storeFile(local + u"/source.bin"_s, u"ours.bin"_s))
                            : QCoro::waitFor(lease.retrieve(u"source.bin"_s, local + u"/ours.bin"_s));
        lease.disconnectFromHost();
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (!result) {
            std::fprintf(stderr, "our client failed: %s\n", qPrintable(result.error));
            return -1;
        }
        return seconds;
    }

    double curl(bool passive, bool upload)
    {
        const QString base = u"ftp://127.0.0.1:%1/"_s.arg(server.port());
        QStringList arguments{u"-s"_s, u"-S"_s, u"-u"_s, server.options().user + u':' + server.options().password};
        if (!passive)
            arguments << u"-P"_s << u"127.0.0.1"_s;
        if (upload)
            arguments << u"-T"_s << local + u"/source.bin"_s << base + u"curl.bin"_s;
        else
            arguments << u"-o"_s << local + u"/curl.bin"_s << base + u"source.bin"_s;
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(u"curl"_s, arguments);
        process.waitForFinished(-1);
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::fprintf(stderr, "curl failed: %s\n", process.readAllStandardError().constData());
            return -1;
        }
        return seconds;
    }
};

double best(const std::function<double()> &run)
{
    double fastest = -1;
    for (int i = 0; i < Runs; ++i) {
        const double seconds = run();
        if (seconds < 0)
            return -1;
        fastest = fastest < 0 ? seconds : std::min(fastest, seconds);
    }
    return fastest;
}

double megabytesPerSecond(double seconds)
{
    return seconds > 0 ? FileSize / 1e6 / seconds : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root, local;
    {
        QFile source(local.filePath(u"source.bin"_s));
        if (!source.open(QIODevice::WriteOnly) || source.write(ftpTestPattern(FileSize, 7)) != FileSize)
            return 1;
    }
    if (!QFile::copy(local.filePath(u"source.bin"_s), root.filePath(u"source.bin"_s)))
        return 1;
    TestFtpServer server;
    if (!server.start(root.path())) {
        std::fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    Bench bench{server, root.path(), local.path()};

    std::printf("64 MiB over loopback, best of %d runs (connect, log-in, transfer, disconnect)\n", Runs);
    std::printf("%-18s %12s %12s %8s\n", "", "ours MB/s", "curl MB/s", "ratio");
    bool allOk = true;
    for (const bool passive : {false, true}) {
        for (const bool upload : {true, false}) {
            const double ours = best([&] { return bench.ours(passive, upload); });
            const double curl = best([&] { return bench.curl(passive, upload); });
            allOk = allOk && ours > 0 && curl > 0;
            const QString name = QString::fromLatin1(upload ? "upload" : "download") + u' '
                                 + QString::fromLatin1(passive ? "passive" : "active");
            std::printf("%-18s %12.1f %12.1f %8.2f\n", qPrintable(name), megabytesPerSecond(ours),
                        megabytesPerSecond(curl), curl > 0 && ours > 0 ? curl / ours : 0.0);
        }
    }
    return allOk ? 0 : 1;
}
