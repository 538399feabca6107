#include "jobs/partitions/partitionlistcontroller.h"

#include "app/core/windowstate.h"
#include "app/core/workingfiles.h"
#include "jobs/partitions/boxaccess.h"
#include "jobs/partitions/partitiontable.h"
#include "jobs/sequencer/jobsequencer.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/messagebox.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>

namespace {
const QString FlashJob = QStringLiteral("4");
const QString BackupJob = QStringLiteral("2");
} // namespace

PartitionListController::PartitionListController(QWidget *window, WindowState &state, const AppOptions &options)
    : QObject(window)
    , m_window(window)
    , m_state(state)
    , m_options(options)
{
    setObjectName(QStringLiteral("PartitionListController"));
    connect(control<QAbstractButton>(window, QStringLiteral("RzButton6")), &QAbstractButton::clicked, this,
            &PartitionListController::RzButton6Click);
    connect(control<QAbstractButton>(window, QStringLiteral("RzButton5")), &QAbstractButton::clicked, this,
            &PartitionListController::RzButton5Click);
}

QString PartitionListController::localTableFile()
{
    return QDir(WorkingFiles::programFilesFolder()).filePath(QStringLiteral("mtd.txt"));
}

void PartitionListController::RzButton6Click()
{
    startRead(FlashJob);
}

void PartitionListController::RzButton5Click()
{
    startRead(BackupJob);
}

void PartitionListController::startRead(const QString &jobCode)
{
    BusyCursor::set();
    BoxAccess::showPage(m_window, QStringLiteral("TabSheet1"));
    BoxAccess::sequencer(m_window)->startJob(jobCode);
}

QCoro::Task<> PartitionListController::readTable()
{
    const QString jobCode = m_state.JobCode;
    QPointer<PartitionListController> self(this);
    const FtpResult fetched = co_await BoxAccess::fetchResult(BoxAccess::ftp(m_window), BoxAccess::login(m_window, m_options),
                                                              QStringLiteral("mtd.txt"), localTableFile());
    if (!self)
        co_return;
    if (!fetched) {
        co_await MessageClosed(m_window, m_state.messages.error(3));
        co_return;
    }

    QFile file(localTableFile());
    if (!file.open(QIODevice::ReadOnly)) {
        co_await MessageClosed(m_window, m_state.messages.error(4));
        co_return;
    }
    const QStringList lines = PartitionTable::partitionLines(file.readAll());
    file.close();

    if (jobCode == FlashJob)
        fillFlashList(lines);
    else
        fillBackupList(lines);
    BoxAccess::sequencer(m_window)->fcp();
}

void PartitionListController::fillFlashList(const QStringList &lines)
{
    auto *group = control<RadioGroup>(m_window, QStringLiteral("RzRadioGroup1"));
    group->clearItems();
    for (const QString &line : lines)
        group->addItem(line);
    m_flashListHoldsTable = true;
}

void PartitionListController::fillBackupList(const QStringList &lines)
{
    auto *combo = control<QComboBox>(m_window, QStringLiteral("ComboBox1"));
    combo->clear();
    combo->clearEditText();
    combo->addItems(lines);
    combo->setCurrentIndex(-1);
    combo->clearEditText();
    BoxAccess::showPage(m_window, QStringLiteral("Backup"));
    combo->showPopup();
}
