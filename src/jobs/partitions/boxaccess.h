#pragma once

#include "net/ftp/ftpresult.h"

#include <QCoroTask>
#include <QString>

class BoxFtp;
class JobSequencer;
class QWidget;
struct AppOptions;

// What the telnet jobs' handlers share: the box's log-in as it stands on page
// "Setup/MAC", the window's pieces they drive, and the fetch of a job's result.
namespace BoxAccess {

// Box address, user id and password from RzComboBox1, RzEdit2 and RzEdit3.
FtpLogin login(QWidget *window, const AppOptions &options);

// The time a box gets to accept an FTP connection.
inline constexpr int ConnectTimeoutMs = 2000;

BoxFtp *ftp(QWidget *window);
JobSequencer *sequencer(QWidget *window);

// Makes the page of RzPageControl1 with this object name the current one.
void showPage(QWidget *window, const QString &pageName);

// Fetches the file `remoteName` from the box's "/tmp" into `localPath` and
// deletes it on the box, on a connection of its own. The local file is
// replaced only by a download that arrived whole.
QCoro::Task<FtpResult> fetchResult(BoxFtp *ftp, FtpLogin login, QString remoteName, QString localPath);

} // namespace BoxAccess
