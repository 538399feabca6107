// boxwart-boxsim: a simulated Vexa box on loopback, for development, tests
// and the program's demo mode.

#include "boxsimulator.h"
#include "simoptions.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void printLine(FILE *stream, const QString &text)
{
    const QByteArray line = text.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fflush(stream);
}

#if defined(Q_OS_UNIX)
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP end the event loop through a pipe.
void quitOnSignals(QCoreApplication &app)
{
    if (::pipe(signalPipe) != 0)
        return;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
}

// A parent that holds our standard input (a pipe or a terminal) stops us by
// closing it. Input from /dev/null or a file is not watched.
void quitWhenStandardInputCloses(QCoreApplication &app)
{
    struct stat info = {};
    if (::fstat(STDIN_FILENO, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) || ::isatty(STDIN_FILENO)))
        return;
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            notifier->setEnabled(false);
            QCoreApplication::quit();
        }
    });
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("boxwart-boxsim"));

    const SimOptionsResult parsed = parseSimOptions(QCoreApplication::arguments());
    if (!parsed.error.isEmpty()) {
        printLine(parsed.helpShown ? stdout : stderr, parsed.error);
        return parsed.helpShown ? 0 : 2;
    }

#if defined(Q_OS_UNIX)
    quitOnSignals(app);
    quitWhenStandardInputCloses(app);
#endif

    BoxSimulator box(parsed.options);
    int exitCode = 0;
    QObject::connect(&box, &BoxSimulator::ready, &app, [&box] {
        printLine(stdout, QStringLiteral("READY telnet=%1 ftp=%2 root=%3")
                              .arg(box.telnetPort())
                              .arg(box.ftpPort())
                              .arg(box.rootFolder()));
    });
    QObject::connect(&box, &BoxSimulator::failed, &app, [&exitCode](const QString &reason) {
        printLine(stderr, QStringLiteral("boxsim: ") + reason);
        exitCode = 1;
        QCoreApplication::exit(1);
    });
    QMetaObject::invokeMethod(&box, &BoxSimulator::start, Qt::QueuedConnection);
    const int loopResult = QCoreApplication::exec();
    box.stop();
    return exitCode != 0 ? exitCode : loopResult;
}
