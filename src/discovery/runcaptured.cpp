#include "discovery/runcaptured.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

class CaptureFileRemover {
public:
    explicit CaptureFileRemover(QString path) : m_path(std::move(path)) {}
    ~CaptureFileRemover() { QFile::remove(m_path); }
    CaptureFileRemover(const CaptureFileRemover &) = delete;
    CaptureFileRemover &operator=(const CaptureFileRemover &) = delete;

private:
    QString m_path;
};

void runAtIdlePriority(QProcess &process)
{
#if defined(Q_OS_WIN)
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->flags |= IDLE_PRIORITY_CLASS;
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_MINIMIZE;
    });
#elif defined(Q_OS_UNIX)
    process.setChildProcessModifier([] { [[maybe_unused]] const int ignored = ::nice(19); });
#else
    Q_UNUSED(process);
#endif
}

void setCommandLine(QProcess &process, const QString &program, const QString &parameters)
{
    process.setProgram(program);
#if defined(Q_OS_WIN)
    process.setNativeArguments(parameters);
#else
    process.setArguments(QProcess::splitCommand(parameters));
#endif
}

void appendCapturedLines(const QString &path, QStringList &lines)
{
    QFile capture(path);
    if (!capture.open(QIODevice::ReadOnly))
        return;
    while (!capture.atEnd()) {
        QByteArray line = capture.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        lines.append(QString::fromLocal8Bit(line));
    }
}

} // namespace

QString captureFileName()
{
    return QStringLiteral("Test.tmp");
}

bool RunCaptured(const QString &workingFolder, const QString &program, const QString &parameters,
                 QStringList &lines, QString *startError)
{
    const QString capturePath = QDir::current().absoluteFilePath(captureFileName());
    const CaptureFileRemover remover(capturePath);
    const auto failToStart = [startError](const QString &reason) {
        if (startError)
            *startError = reason;
        return false;
    };

    QFile capture(capturePath);
    if (!capture.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failToStart(capture.errorString());
    capture.close();

    QProcess process;
    process.setWorkingDirectory(workingFolder);
    setCommandLine(process, program, parameters);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(capturePath, QIODevice::Append);
    process.setStandardErrorFile(QProcess::nullDevice());
    runAtIdlePriority(process);
    process.start();
    if (!process.waitForStarted(-1))
        return failToStart(process.errorString());
    process.waitForFinished(-1);
    const bool succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    appendCapturedLines(capturePath, lines);
    return succeeded;
}
