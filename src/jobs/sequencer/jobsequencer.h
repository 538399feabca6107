#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <functional>

#include "jobs/sequencer/jobendwatcher.h"
#include "jobs/sequencer/joblines.h"

class QTimer;
class QWidget;
class TelnetTerminal;
struct WindowState;
struct AppOptions;

// Runs the telnet jobs "1" to "6": Timer1 connects TnScript1 to the box,
// Timer2 logs in, Timer3 types the job's command lines, and the received
// text tells when a job "1" to "4" has finished. Timer5 resets the display
// after a finished job.
//
// Lives as the child "JobSequencer" of the main window; other page
// controllers find it with window->findChild<JobSequencer *>("JobSequencer").
class JobSequencer : public QObject {
    Q_OBJECT
public:
    // Fetches the result of job "2", "3" or "4" from the box once the job's
    // end has been seen; the job is completed when the task finishes.
    using Backupit = std::function<QCoro::Task<>()>;

    JobSequencer(QWidget *window, WindowState &state, const AppOptions &options);
    ~JobSequencer() override;

    // The starting handler has already done its checks, set the busy cursor
    // (jobs "1" to "4"), TargetMtd (jobs "1" and "3") and shown page "Upload".
    // Empties PromptTally, runs a pending Timer5 reset at once, sets JobCode
    // and starts Timer1.
    void startJob(const QString &jobCode);

    // Clears the terminal screen.
    void fcp();

    void setBackupit(Backupit hook);

    TelnetTerminal *terminal() const { return m_terminal; }

    // True from startJob until the job has completed or been abandoned.
    bool isJobOpen() const { return m_open; }

Q_SIGNALS:
    // Jobs "1" to "4": the completion steps have run (for "2" to "4" after
    // backupit). Jobs "5" and "6": the last line has been typed and the
    // terminal disconnected.
    void jobFinished(const QString &code);
    // The job cannot finish: the connection could not be made or the box
    // closed it before the job's end was seen. The chain has stopped.
    void jobAbandoned(const QString &code, const QString &reason);
    // Timer5 has emptied PromptTally and cleared the terminal.
    void displayReset();

private:
    void onConnectTimer();
    void onLoginTimer();
    void onCommandTimer();
    void onResetTimer();
    void beginJob(const QString &jobCode);
    void logIn();
    void typeLines(QList<TypedLine> lines, qsizetype next);
    void finishDiskJob();
    void onChunk(const QByteArray &chunk);
    void onConnected();
    void onConnectFailed(const QString &reason);
    void onClosed(const QString &reason);
    void completeFlashJob();
    QCoro::Task<> completeResultJob(QString code);
    void abandon(const QString &reason, bool showBox);
    void setStatusText(const QString &english, const QString &german);
    void enableFlashButton();
    bool send(const QString &text);
    QTimer *windowTimer(const QString &name, int interval);

    QWidget *m_window;
    WindowState &m_state;
    TelnetTerminal *m_terminal;
    QTimer *m_timer1;
    QTimer *m_timer2;
    QTimer *m_timer3;
    QTimer *m_timer5;
    Backupit m_backupit;
    JobEndWatcher m_watcher;
    // Counts started jobs; a step that waited checks it to know whether a
    // newer job has taken over meanwhile.
    quint64 m_run = 0;
    bool m_open = false;
    bool m_loginDue = false;
};
