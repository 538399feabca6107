#include "jobs/backup/backupcontroller.h"

#include "app/core/settingsstore.h"
#include "app/core/windowstate.h"
#include "jobs/partitions/backupname.h"
#include "jobs/partitions/boxaccess.h"
#include "jobs/partitions/partitionlistcontroller.h"
#include "jobs/partitions/partitionnumber.h"
#include "jobs/sequencer/jobsequencer.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/foldertree.h"
#include "widgets/messagebox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>

BackupController::BackupController(QWidget *window, WindowState &state, const AppOptions &options)
    : QObject(window)
    , m_window(window)
    , m_state(state)
    , m_options(options)
{
    setObjectName(QStringLiteral("BackupController"));
    connect(control<QAbstractButton>(window, QStringLiteral("RzButton4")), &QAbstractButton::clicked, this,
            &BackupController::RzButton4Click);
    BoxAccess::sequencer(window)->setBackupit([this] { return backupit(); });
}

void BackupController::RzButton4Click()
{
    SettingsStore::write(SettingsStore::BackupPath,
                         control<FolderTree>(m_window, QStringLiteral("RzShellTree1"))->selectedPath());
    BusyCursor::set();

    const QString text = control<QComboBox>(m_window, QStringLiteral("ComboBox1"))->currentText();
    if (text.isEmpty()) {
        showMessage(m_window, m_state.messages.MsgNoMtdSelected);
        BusyCursor::restore();
        return;
    }
    const QString partition = PartitionNumber::of(text);
    if (partition.isEmpty()) {
        BusyCursor::restore();
        return;
    }
    m_state.TargetMtd = partition;
    BoxAccess::showPage(m_window, QStringLiteral("TabSheet1"));
    BoxAccess::sequencer(m_window)->startJob(QStringLiteral("3"));
}

QCoro::Task<> BackupController::backupit()
{
    if (m_state.JobCode == u"3") {
        co_await saveBackup();
        co_return;
    }
    if (m_state.JobCode == u"2" || m_state.JobCode == u"4") {
        if (auto *lists = m_window->findChild<PartitionListController *>(QStringLiteral("PartitionListController")))
            co_await lists->readTable();
    }
}

QCoro::Task<> BackupController::saveBackup()
{
    const BackupName name = backupName(control<FolderTree>(m_window, QStringLiteral("RzShellTree1"))->selectedPath(),
                                       control<QLineEdit>(m_window, QStringLiteral("Edit1"))->text(),
                                       control<QComboBox>(m_window, QStringLiteral("ComboBox1"))->currentText(),
                                       QDir::homePath());
    QPointer<BackupController> self(this);
    const FtpResult fetched = co_await BoxAccess::fetchResult(
        BoxAccess::ftp(m_window), BoxAccess::login(m_window, m_options), QStringLiteral("save.img"), name.file);
    if (!self)
        co_return;
    if (!fetched) {
        co_await MessageClosed(m_window, m_state.messages.error(3));
        co_return;
    }
    BoxAccess::showPage(m_window, QStringLiteral("Backup"));
    co_await MessageClosed(m_window, m_state.messages.MsgBackupSavedHead + name.folder
                                         + m_state.messages.MsgBackupSavedMid + name.file);
}
