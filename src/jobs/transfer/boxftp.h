#pragma once

#include "net/ftp/ftpresult.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QCoroTask>

#include <coroutine>
#include <deque>
#include <memory>

class QThread;
class FtpSession;
class BoxFtp;

// Holds the box-file client for one whole operation (connect .. disconnect).
// Only the holder of a lease can talk to the box; a second caller's
// BoxFtp::acquire() waits until this lease is released. Move-only; releasing
// (release() or destruction) disconnects a connection that is still open.
class BoxFtpLease {
public:
    BoxFtpLease() = default;
    BoxFtpLease(BoxFtpLease &&other) noexcept;
    BoxFtpLease &operator=(BoxFtpLease &&other) noexcept;
    BoxFtpLease(const BoxFtpLease &) = delete;
    BoxFtpLease &operator=(const BoxFtpLease &) = delete;
    ~BoxFtpLease();

    bool isValid() const;
    void release();

    bool isConnected() const;
    // TCP connection within timeoutMs, greeting, USER, PASS, "TYPE I", "SYST".
    // Fails with an already-connected error while a connection is open.
    QCoro::Task<FtpResult> connectAndLogin(const FtpLogin &login, int timeoutMs);
    QCoro::Task<FtpResult> changeDirectory(const QString &path);  // "CWD"
    QCoro::Task<FtpResult> changeToParent();                      // "CDUP"
    // "STOR": a local file, opened read-only, sent whole.
    QCoro::Task<FtpResult> storeFile(const QString &localPath, const QString &remoteName);
    // "STOR": bytes held in memory.
    QCoro::Task<FtpResult> storeData(const QByteArray &data, const QString &remoteName);
    // "RETR": the local file is replaced only once the download has arrived
    // whole; a failed download leaves an earlier file untouched.
    QCoro::Task<FtpResult> retrieve(const QString &remoteName, const QString &localPath);
    QCoro::Task<FtpResult> remove(const QString &remoteName);     // "DELE"
    // Closes the control connection without logging out. Keeps the lease.
    void disconnectFromHost();

private:
    friend class BoxFtp;
    explicit BoxFtpLease(BoxFtp *owner);
    QPointer<BoxFtp> m_owner;
};

// The window's box-file client (objectName "IdFTP1"). Lives on the UI thread;
// its socket work runs on a worker thread of its own, so a transfer never
// blocks the window. Replies and data are awaited without limit; only the
// TCP connect has a time-out.
class BoxFtp : public QObject {
    Q_OBJECT
public:
    explicit BoxFtp(QObject *parent = nullptr);
    ~BoxFtp() override;

    // Resolves once no other lease is held; callers queue in order.
    QCoro::Task<BoxFtpLease> acquire();
    bool isLeased() const { return m_leased; }
    bool isConnected() const;

    // Active data connections (PORT, the server connects back) by default.
    void setPassive(bool passive);
    bool isPassive() const { return m_passive; }

Q_SIGNALS:
    // Raised for the data connection of each transfer: max is the number of
    // bytes to send for an upload and 0 for a download; count is the running
    // number of bytes moved. Throttled, but the last count is always sent.
    void workBegin(qint64 max);
    void work(qint64 count);
    void leaseReleased();

private:
    friend class BoxFtpLease;
    template<typename Step>
    QCoro::Task<FtpResult> runOnWorker(Step step);
    void releaseLease();
    void disconnectSession();

    struct Waiter;
    struct PendingStep;

    QThread *m_thread = nullptr;
    FtpSession *m_session = nullptr;  // lives on m_thread
    bool m_passive = false;
    bool m_leased = false;
    bool m_connected = false;
    bool m_dying = false;
    std::deque<std::shared_ptr<Waiter>> m_waiters;
    std::shared_ptr<PendingStep> m_pending;
};
