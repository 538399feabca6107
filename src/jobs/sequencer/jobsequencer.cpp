#include "jobs/sequencer/jobsequencer.h"

#include "app/core/appoptions.h"
#include "app/core/windowstate.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/messagebox.h"
#include "widgets/terminal/telnetterminal.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <exception>

namespace {
constexpr int LoginPause = 2000;

template<typename T>
QString textOf(QWidget *window, const QString &name)
{
    const T *widget = window->findChild<T *>(name);
    if (!widget)
        return {};
    if constexpr (std::is_same_v<T, QComboBox>)
        return widget->currentText();
    else
        return widget->text();
}
} // namespace

JobSequencer::JobSequencer(QWidget *window, WindowState &state, const AppOptions &options)
    : QObject(window)
    , m_window(window)
    , m_state(state)
    , m_terminal(control<TelnetTerminal>(window, QStringLiteral("TnScript1")))
    , m_timer1(windowTimer(QStringLiteral("Timer1"), 1000))
    , m_timer2(windowTimer(QStringLiteral("Timer2"), 500))
    , m_timer3(windowTimer(QStringLiteral("Timer3"), 2000))
    , m_timer5(windowTimer(QStringLiteral("Timer5"), 5000))
{
    setObjectName(QStringLiteral("JobSequencer"));
    m_terminal->setPort(options.ports.telnet);

    connect(m_timer1, &QTimer::timeout, this, &JobSequencer::onConnectTimer);
    connect(m_timer2, &QTimer::timeout, this, &JobSequencer::onLoginTimer);
    connect(m_timer3, &QTimer::timeout, this, &JobSequencer::onCommandTimer);
    connect(m_timer5, &QTimer::timeout, this, &JobSequencer::onResetTimer);

    connect(m_terminal, &TelnetTerminal::dataAvailable, this, &JobSequencer::onChunk);
    connect(m_terminal, &TelnetTerminal::sessionConnected, this, &JobSequencer::onConnected);
    connect(m_terminal, &TelnetTerminal::connectFailed, this, &JobSequencer::onConnectFailed);
    connect(m_terminal, &TelnetTerminal::sessionClosed, this, &JobSequencer::onClosed);
}

JobSequencer::~JobSequencer() = default;

QTimer *JobSequencer::windowTimer(const QString &name, int interval)
{
    QTimer *timer = m_window->findChild<QTimer *>(name, Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(m_window);
        timer->setObjectName(name);
    }
    timer->stop();
    timer->setSingleShot(true);
    timer->setInterval(interval);
    return timer;
}

void JobSequencer::setBackupit(Backupit hook)
{
    m_backupit = std::move(hook);
}

void JobSequencer::fcp()
{
    m_terminal->clearScreen();
}

void JobSequencer::startJob(const QString &jobCode)
{
    beginJob(jobCode);
    m_timer1->start();
}

void JobSequencer::beginJob(const QString &jobCode)
{
    // A reset armed by an earlier job would otherwise cut this one short.
    if (m_timer5->isActive()) {
        m_timer5->stop();
        onResetTimer();
    }
    m_state.PromptTally.clear();
    if (m_open && isWatchedJob(m_state.JobCode)) {
        // The job this one replaces will never end: give back what it held,
        // unless the new job's starter has just taken it again.
        if (jobCode != u"1")
            enableFlashButton();
        if (!isWatchedJob(jobCode))
            BusyCursor::restore();
    }
    m_state.JobCode = jobCode;
    ++m_run;
    m_open = true;
    m_loginDue = false;
    m_timer2->stop();
    m_timer3->stop();
    // Text still arriving from an earlier job must not count for this one.
    m_terminal->disconnectFromHost();
}

void JobSequencer::onConnectTimer()
{
    m_timer1->stop();
    if (!m_open)  // Timer1 started directly instead of through startJob()
        beginJob(m_state.JobCode);

    const QString host = textOf<QComboBox>(m_window, QStringLiteral("RzComboBox1")).trimmed();
    if (host.isEmpty()) {
        abandon(tr("No box address is set; the job was not started."), true);
        return;
    }
    m_watcher.restart();
    m_terminal->setHostName(host);
    m_terminal->connectToHost();
    m_timer2->start();
}

void JobSequencer::onLoginTimer()
{
    m_timer2->stop();
    if (!m_open)
        return;
    if (m_terminal->isConnected())
        logIn();
    else if (m_terminal->isConnecting())
        m_loginDue = true;  // logs in as soon as the connection is made
    else
        abandon(tr("Not connected to the box."), true);
}

void JobSequencer::onConnected()
{
    if (m_open && m_loginDue) {
        m_loginDue = false;
        logIn();
    }
}

void JobSequencer::logIn()
{
    if (!send(textOf<QLineEdit>(m_window, QStringLiteral("RzEdit2")) % u"\r"))
        return;
    const quint64 run = m_run;
    QTimer::singleShot(LoginPause, this, [this, run] {
        if (run != m_run || !m_open)
            return;
        if (send(textOf<QLineEdit>(m_window, QStringLiteral("RzEdit3")) % u"\r"))
            m_timer3->start();
    });
}

void JobSequencer::onCommandTimer()
{
    m_timer3->stop();
    if (!m_open)
        return;
    const QString code = m_state.JobCode;
    const std::optional<QList<TypedLine>> lines = jobCommandLines(code, m_state.TargetMtd);
    if (!lines) {
        abandon(tr("The partition \"%1\" is not a partition number; nothing was typed.").arg(m_state.TargetMtd),
                true);
        return;
    }
    if (lines->isEmpty()) {
        abandon(tr("There is no job \"%1\"; nothing was typed.").arg(code), false);
        return;
    }
    if (code == u"1") {
        setStatusText(QStringLiteral("Your flash is updating - please wait several minutes. Stay for automatic-reboot"),
                      QStringLiteral("Flash wird upgedatet - dies dauert einige Minuten. Bitte auf automatischen Neustart warten"));
    }
    typeLines(*lines, 0);
}

void JobSequencer::typeLines(QList<TypedLine> lines, qsizetype next)
{
    if (!send(lines.at(next).text))
        return;
    const int pause = lines.at(next).pauseAfterMs;
    const bool last = next + 1 == lines.size();
    if (last && pause == 0) {
        if (isDiskJob(m_state.JobCode))
            finishDiskJob();
        return;  // jobs "1" to "4" now wait for their end in the received text
    }
    const quint64 run = m_run;
    QTimer::singleShot(pause, this, [this, run, last, next, lines = std::move(lines)]() mutable {
        if (run != m_run || !m_open)
            return;
        if (!last)
            typeLines(std::move(lines), next + 1);
        else if (isDiskJob(m_state.JobCode))
            finishDiskJob();
    });
}

void JobSequencer::finishDiskJob()
{
    m_open = false;
    m_terminal->disconnectFromHost();
    auto *pages = m_window->findChild<QTabWidget *>(QStringLiteral("RzPageControl1"));
    auto *diskPage = m_window->findChild<QWidget *>(QStringLiteral("TabSheet6"));
    if (pages && diskPage)
        pages->setCurrentWidget(diskPage);
    Q_EMIT jobFinished(m_state.JobCode);
}

void JobSequencer::onChunk(const QByteArray &chunk)
{
    if (!m_open)
        return;
    switch (m_watcher.take(m_state.JobCode, chunk, m_state.PromptTally)) {
    case JobEnd::FlashWriterDone:
        completeFlashJob();
        break;
    case JobEnd::ThirdPrompt:
        completeResultJob(m_state.JobCode);
        break;
    case JobEnd::None:
        break;
    }
}

void JobSequencer::completeFlashJob()
{
    m_open = false;
    send(QStringLiteral("reboot\r"));
    BusyCursor::restore();
    enableFlashButton();
    m_timer5->start();
    setStatusText(QStringLiteral("Finish!!"), QStringLiteral("Fertig!!"));
    Q_EMIT jobFinished(QStringLiteral("1"));
}

QCoro::Task<> JobSequencer::completeResultJob(QString code)
{
    m_open = false;
    m_terminal->disconnectFromHost();
    const quint64 run = m_run;
    QPointer<JobSequencer> self(this);
    if (m_backupit) {
        try {
            co_await m_backupit();
        } catch (const std::exception &error) {
            if (self)
                m_terminal->printNotice(tr("Fetching the job's result failed: %1").arg(QString::fromLocal8Bit(error.what())));
        } catch (...) {
            if (self)
                m_terminal->printNotice(tr("Fetching the job's result failed."));
        }
    }
    if (!self)
        co_return;
    // A job started while the result was being fetched owns the cursor,
    // the button and the screen now.
    if (run == m_run) {
        BusyCursor::restore();
        enableFlashButton();
        m_timer5->start();
        m_terminal->clearScreen();
    }
    Q_EMIT jobFinished(code);
}

void JobSequencer::onResetTimer()
{
    m_timer5->stop();
    m_state.PromptTally.clear();
    m_terminal->clearScreen();
    if (auto *display = m_window->findChild<QLabel *>(QStringLiteral("rzd1")))
        display->clear();
    Q_EMIT displayReset();
}

void JobSequencer::onConnectFailed(const QString &reason)
{
    if (m_open)
        abandon(tr("Cannot connect to the box %1: %2").arg(m_terminal->hostName(), reason), true);
}

void JobSequencer::onClosed(const QString &reason)
{
    if (!m_open)
        return;
    QString text = tr("The box closed the connection before the job finished.");
    if (!reason.isEmpty())
        text += u" (" % reason % u")";
    abandon(text, false);
}

void JobSequencer::abandon(const QString &reason, bool showBox)
{
    const QString code = m_state.JobCode;
    m_open = false;
    m_loginDue = false;
    m_timer2->stop();
    m_timer3->stop();
    m_terminal->disconnectFromHost();
    m_terminal->printNotice(reason);
    BusyCursor::restore();
    enableFlashButton();
    if (showBox)
        showMessage(m_window, reason);
    Q_EMIT jobAbandoned(code, reason);
}

bool JobSequencer::send(const QString &text)
{
    if (m_terminal->send(text.toUtf8()))
        return true;
    if (m_open)
        abandon(tr("Not connected to the box."), false);
    return false;
}

void JobSequencer::enableFlashButton()
{
    if (auto *button = m_window->findChild<QWidget *>(QStringLiteral("RzButton1")))
        button->setEnabled(true);
}

void JobSequencer::setStatusText(const QString &english, const QString &german)
{
    auto *display = m_window->findChild<QLabel *>(QStringLiteral("rzd1"));
    if (!display)
        return;
    const bool inGerman = m_state.LanguageName.startsWith(u"german", Qt::CaseInsensitive);
    display->setText(inGerman ? german : english);
}
