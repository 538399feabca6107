#pragma once

#include "net/ftp/ftpreply.h"
#include "net/ftp/ftpresult.h"
#include "net/ftp/transferprogress.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QCoroTask>

#include <coroutine>
#include <optional>

class QIODevice;
class QTcpServer;
class QTcpSocket;
class QTimer;

// An FTP client over Qt sockets, for the thread it lives on. Every step is a
// coroutine that waits on that thread's event loop without blocking it; one
// step runs at a time. Replies and data are awaited without limit; only TCP
// connects have a time-out. abort() ends a waiting step with an error.
class FtpSession : public QObject {
    Q_OBJECT
public:
    explicit FtpSession(QObject *parent = nullptr);
    ~FtpSession() override;

    // Active data connections ("PORT": the server connects back to the
    // control connection's local address) unless passive ("PASV") is set.
    void setPassive(bool passive) { m_passive = passive; }
    bool isPassive() const { return m_passive; }
    bool isConnected() const;
    bool isBusy() const { return m_busy; }

    QCoro::Task<FtpResult> connectAndLogin(FtpLogin login, int timeoutMs);
    QCoro::Task<FtpResult> changeDirectory(QString path);
    QCoro::Task<FtpResult> changeToParent();
    QCoro::Task<FtpResult> storeFile(QString localPath, QString remoteName);
    QCoro::Task<FtpResult> storeData(QByteArray data, QString remoteName);
    QCoro::Task<FtpResult> retrieve(QString remoteName, QString localPath);
    QCoro::Task<FtpResult> remove(QString remoteName);
    // Closes the control connection without logging out.
    void disconnectFromHost();
    // Closes every connection; a step that waits ends with `reason`.
    void abort(const QString &reason);

Q_SIGNALS:
    void workBegin(qint64 max);
    void work(qint64 count);

private:
    struct Wakeup {
        FtpSession *session;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiter) noexcept { session->m_waiter = waiter; }
        void await_resume() const noexcept {}
    };
    Wakeup nextEvent() { return Wakeup{this}; }
    void wake();
    void watch(QObject *socketOrServer);

    struct ReplyOutcome {
        FtpReply reply;
        QString error;  // empty when a reply arrived
    };
    QCoro::Task<ReplyOutcome> readReply();
    std::optional<ReplyOutcome> takeBufferedReply();
    QString checkCommand(const QString &command) const;
    void send(const QString &command);
    // Sends a command and expects one of the given reply codes.
    QCoro::Task<FtpResult> simpleCommand(QString command, int accepted, int alsoAccepted = -1);
    QCoro::Task<FtpResult> login(FtpLogin login);
    // Sets up the data connection and sends the transfer command; done once
    // the server has connected (or accepted) and sent its 1xx reply.
    QCoro::Task<FtpResult> openDataChannel(QString transferCommand);
    QCoro::Task<FtpResult> startTransfer(QString transferCommand);
    TransferProgress newProgress();
    QCoro::Task<FtpResult> finishTransfer(QString transferCommand);
    QCoro::Task<FtpResult> sendData(QIODevice *source, qint64 size, QString remoteName);
    QCoro::Task<FtpResult> connectSocket(QTcpSocket *socket, QString host, quint16 port, int timeoutMs);
    FtpResult stepFailed(const QString &command, const FtpReply &reply) const;
    QString connectionLostText() const;
    void closeData();

    class StepGuard;

    QTcpSocket *m_control = nullptr;
    QTcpServer *m_listener = nullptr;
    QTcpSocket *m_data = nullptr;
    QByteArray m_received;
    QString m_dataError;
    QString m_abortReason;
    QTimer *m_connectTimer = nullptr;
    bool m_connectTimedOut = false;
    bool m_passive = false;
    bool m_busy = false;
    int m_connectTimeoutMs = 2000;
    std::coroutine_handle<> m_waiter;
};
