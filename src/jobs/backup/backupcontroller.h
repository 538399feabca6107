#pragma once

#include <QCoroTask>
#include <QObject>

class QWidget;
struct AppOptions;
struct WindowState;

// "Backup Image" (RzButton4, job "3"): the box copies the chosen partition
// into "/tmp/save.img", which is then fetched into an image file in the
// folder chosen on page "Backup".
//
// Also hands the sequencer the end step of jobs "2" to "4" (backupit).
// Child "BackupController" of the main window.
class BackupController : public QObject {
    Q_OBJECT
public:
    BackupController(QWidget *window, WindowState &state, const AppOptions &options);

    void RzButton4Click();

    // Called by the sequencer at the end of jobs "2", "3" and "4".
    QCoro::Task<> backupit();

private:
    QCoro::Task<> saveBackup();

    QWidget *m_window;
    WindowState &m_state;
    const AppOptions &m_options;
};
