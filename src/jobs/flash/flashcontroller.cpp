#include "jobs/flash/flashcontroller.h"

#include "app/core/settingsstore.h"
#include "app/core/windowstate.h"
#include "fcp/fcpresource.h"
#include "jobs/flash/flashconfirmation.h"
#include "jobs/partitions/boxaccess.h"
#include "jobs/partitions/partitionlistcontroller.h"
#include "jobs/partitions/partitionnumber.h"
#include "jobs/sequencer/jobsequencer.h"
#include "jobs/transfer/boxftp.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/filenameedit.h"
#include "widgets/messagebox.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QPointer>
#include <QProgressBar>

namespace {
const QString RemoteFolder = QStringLiteral("/var/tmp");
const QString SetupPage = QStringLiteral("TabSheet3");
} // namespace

FlashController::FlashController(QWidget *window, WindowState &state, const AppOptions &options)
    : QObject(window)
    , m_window(window)
    , m_state(state)
    , m_options(options)
{
    setObjectName(QStringLiteral("FlashController"));
    connect(control<QAbstractButton>(window, QStringLiteral("RzButton1")), &QAbstractButton::clicked, this,
            [this] { RzButton1Click(); });
}

QString FlashController::partitionToFlash() const
{
    const auto *group = control<RadioGroup>(m_window, QStringLiteral("RzRadioGroup1"));
    const auto *lists = m_window->findChild<PartitionListController *>(QStringLiteral("PartitionListController"));
    const bool holdsTable = lists && lists->flashListHoldsTable();
    const int chosen = group->checkedIndex();
    return PartitionNumber::toFlash(holdsTable, group->count(), chosen, group->itemText(chosen));
}

void FlashController::endStart()
{
    control<QWidget>(m_window, QStringLiteral("RzButton1"))->setEnabled(true);
    BusyCursor::restore();
}

QCoro::Task<> FlashController::RzButton1Click()
{
    const QString image = control<FileNameEdit>(m_window, QStringLiteral("LMDFileOpenEdit1"))->fileName();
    SettingsStore::write(SettingsStore::Image1, image);

    const QString partition = partitionToFlash();
    if (partition.isEmpty() || image.isEmpty())
        co_return;

    const FtpLogin login = BoxAccess::login(m_window, m_options);
    if (login.host.isEmpty()) {
        showMessage(m_window, m_state.messages.MsgNoBoxIp);
        BoxAccess::showPage(m_window, SetupPage);
        co_return;
    }
    if (login.user.isEmpty()) {
        showMessage(m_window, m_state.messages.MsgNoUserId);
        BoxAccess::showPage(m_window, SetupPage);
        co_return;
    }

    BusyCursor::set();
    control<QWidget>(m_window, QStringLiteral("RzButton1"))->setEnabled(false);

    QPointer<FlashController> self(this);
    BoxFtp *ftp = BoxAccess::ftp(m_window);
    BoxFtpLease lease = co_await ftp->acquire();
    if (!self)
        co_return;

    const QByteArray writer = FcpResource::bytes();
    FtpResult result = writer.isEmpty() ? FtpResult::failure(QStringLiteral("the flash writer is missing"))
                                        : FtpResult::success();
    if (result && lease.isConnected())
        lease.disconnectFromHost();
    if (result)
        result = co_await lease.connectAndLogin(login, BoxAccess::ConnectTimeoutMs);
    if (result)
        result = co_await lease.changeDirectory(RemoteFolder);
    if (result)
        result = co_await lease.storeData(writer, QStringLiteral("fcp"));
    lease.disconnectFromHost();
    if (!self)
        co_return;
    if (!result) {
        showError(m_window, m_state.messages, 1);
        endStart();
        co_return;
    }

    if (auto *bar = m_window->findChild<QProgressBar *>(QStringLiteral("RzProgressBar1")))
        bar->setValue(bar->minimum());

    result = co_await lease.connectAndLogin(login, BoxAccess::ConnectTimeoutMs);
    if (!self)
        co_return;
    if (result) {
        const FlashConfirmation question = flashConfirmation(m_state.LanguageName, image, partition);
        const bool yes = co_await YesNoQuestion(m_window, question.title, question.text);
        if (!self)
            co_return;
        if (!yes) {
            lease.disconnectFromHost();
            endStart();
            co_return;
        }
        result = co_await lease.changeDirectory(RemoteFolder);
        if (result)
            result = co_await lease.storeFile(image, QStringLiteral("image.img"));
    }
    lease.disconnectFromHost();
    if (!self)
        co_return;
    if (!result) {
        showError(m_window, m_state.messages, 2);
        endStart();
        co_return;
    }
    lease.release();

    m_state.TargetMtd = partition;
    JobSequencer *sequencer = BoxAccess::sequencer(m_window);
    sequencer->startJob(QStringLiteral("1"));
    sequencer->fcp();
}
