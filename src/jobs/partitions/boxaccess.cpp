#include "jobs/partitions/boxaccess.h"

#include "app/core/appoptions.h"
#include "jobs/sequencer/jobsequencer.h"
#include "jobs/transfer/boxftp.h"
#include "widgets/controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

namespace BoxAccess {

FtpLogin login(QWidget *window, const AppOptions &options)
{
    FtpLogin login;
    login.host = control<QComboBox>(window, QStringLiteral("RzComboBox1"))->currentText();
    login.port = options.ports.ftp;
    login.user = control<QLineEdit>(window, QStringLiteral("RzEdit2"))->text();
    login.password = control<QLineEdit>(window, QStringLiteral("RzEdit3"))->text();
    return login;
}

BoxFtp *ftp(QWidget *window)
{
    return control<BoxFtp>(window, QStringLiteral("IdFTP1"));
}

JobSequencer *sequencer(QWidget *window)
{
    return control<JobSequencer>(window, QStringLiteral("JobSequencer"));
}

void showPage(QWidget *window, const QString &pageName)
{
    auto *pages = control<QTabWidget>(window, QStringLiteral("RzPageControl1"));
    pages->setCurrentWidget(control<QWidget>(window, pageName));
}

QCoro::Task<FtpResult> fetchResult(BoxFtp *ftp, FtpLogin login, QString remoteName, QString localPath)
{
    BoxFtpLease lease = co_await ftp->acquire();
    FtpResult result = co_await lease.connectAndLogin(login, ConnectTimeoutMs);
    if (result)
        result = co_await lease.changeToParent();
    if (result)
        result = co_await lease.changeDirectory(QStringLiteral("/tmp"));
    if (result)
        result = co_await lease.retrieve(remoteName, localPath);
    if (result)
        result = co_await lease.remove(remoteName);
    lease.disconnectFromHost();
    co_return result;
}

} // namespace BoxAccess
