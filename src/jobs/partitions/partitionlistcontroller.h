#pragma once

#include <QCoroTask>
#include <QObject>

class QWidget;
struct AppOptions;
struct WindowState;

// "MTD-Read" (job "4", fills RzRadioGroup1 on page "Upload") and
// "Select mtd" (job "2", fills ComboBox1 on page "Backup"): the box copies its
// partition table into "/tmp/mtd.txt", which is then fetched into "mtd.txt"
// in the program's files folder and read.
//
// Child "PartitionListController" of the main window.
class PartitionListController : public QObject {
    Q_OBJECT
public:
    PartitionListController(QWidget *window, WindowState &state, const AppOptions &options);

    void RzButton6Click();
    void RzButton5Click();

    // The end of jobs "2" and "4": fetch, read and fill the job's list.
    QCoro::Task<> readTable();

    // False while RzRadioGroup1 still holds its default item, true once a
    // read table has replaced it.
    bool flashListHoldsTable() const { return m_flashListHoldsTable; }

    static QString localTableFile();

private:
    void startRead(const QString &jobCode);
    void fillFlashList(const QStringList &lines);
    void fillBackupList(const QStringList &lines);

    QWidget *m_window;
    WindowState &m_state;
    const AppOptions &m_options;
    bool m_flashListHoldsTable = false;
};
