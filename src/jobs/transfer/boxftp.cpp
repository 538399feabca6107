#include "jobs/transfer/boxftp.h"

#include "net/ftp/ftpsession.h"

#include <QThread>

#include <utility>

struct BoxFtp::Waiter {
    std::coroutine_handle<> handle;
    bool granted = false;
};

struct BoxFtp::PendingStep {
    std::coroutine_handle<> handle;
    FtpResult result;
    bool done = false;
};

namespace {

template<typename State>
struct ResumeWhenSignalled {
    State *state;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle) noexcept { state->handle = handle; }
    void await_resume() const noexcept {}
};

void resume(std::coroutine_handle<> &handle)
{
    if (handle)
        std::exchange(handle, nullptr).resume();
}

QCoro::Task<FtpResult> failed(QString why)
{
    co_return FtpResult::failure(why);
}

} // namespace

// ---- BoxFtpLease

BoxFtpLease::BoxFtpLease(BoxFtp *owner) : m_owner(owner) {}

BoxFtpLease::BoxFtpLease(BoxFtpLease &&other) noexcept : m_owner(std::exchange(other.m_owner, nullptr)) {}

BoxFtpLease &BoxFtpLease::operator=(BoxFtpLease &&other) noexcept
{
    if (this != &other) {
        release();
        m_owner = std::exchange(other.m_owner, nullptr);
    }
    return *this;
}

BoxFtpLease::~BoxFtpLease()
{
    release();
}

bool BoxFtpLease::isValid() const
{
    return !m_owner.isNull();
}

void BoxFtpLease::release()
{
    if (BoxFtp *owner = m_owner.data()) {
        m_owner = nullptr;
        owner->releaseLease();
    }
}

bool BoxFtpLease::isConnected() const
{
    return m_owner && m_owner->isConnected();
}

#define BOXFTP_LEASED_STEP(call)                                                    \
    if (!m_owner)                                                                   \
        return failed(QStringLiteral("the box-file client is not held"));           \
    return m_owner->runOnWorker(call)

QCoro::Task<FtpResult> BoxFtpLease::connectAndLogin(const FtpLogin &login, int timeoutMs)
{
    BOXFTP_LEASED_STEP(([login, timeoutMs](FtpSession *session) { return session->connectAndLogin(login, timeoutMs); }));
}

QCoro::Task<FtpResult> BoxFtpLease::changeDirectory(const QString &path)
{
    BOXFTP_LEASED_STEP(([path](FtpSession *session) { return session->changeDirectory(path); }));
}

QCoro::Task<FtpResult> BoxFtpLease::changeToParent()
{
    BOXFTP_LEASED_STEP(([](FtpSession *session) { return session->changeToParent(); }));
}

QCoro::Task<FtpResult> BoxFtpLease::storeFile(const QString &localPath, const QString &remoteName)
{
    BOXFTP_LEASED_STEP(([localPath, remoteName](FtpSession *session) { return session->storeFile(localPath, remoteName); }));
}

QCoro::Task<FtpResult> BoxFtpLease::storeData(const QByteArray &data, const QString &remoteName)
{
    BOXFTP_LEASED_STEP(([data, remoteName](FtpSession *session) { return session->storeData(data, remoteName); }));
}

QCoro::Task<FtpResult> BoxFtpLease::retrieve(const QString &remoteName, const QString &localPath)
{
    BOXFTP_LEASED_STEP(([remoteName, localPath](FtpSession *session) { return session->retrieve(remoteName, localPath); }));
}

QCoro::Task<FtpResult> BoxFtpLease::remove(const QString &remoteName)
{
    BOXFTP_LEASED_STEP(([remoteName](FtpSession *session) { return session->remove(remoteName); }));
}

void BoxFtpLease::disconnectFromHost()
{
    if (m_owner)
        m_owner->disconnectSession();
}

// ---- BoxFtp

BoxFtp::BoxFtp(QObject *parent) : QObject(parent)
{
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("IdFTP1 worker"));
    m_session = new FtpSession;
    m_session->moveToThread(m_thread);
    connect(m_session, &FtpSession::workBegin, this, &BoxFtp::workBegin);
    connect(m_session, &FtpSession::work, this, &BoxFtp::work);
    m_thread->start();
}

BoxFtp::~BoxFtp()
{
    m_dying = true;
    // Ends a step that waits on the network, then the worker itself.
    FtpSession *session = std::exchange(m_session, nullptr);
    QMetaObject::invokeMethod(session, [session] { delete session; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();

    if (std::shared_ptr<PendingStep> pending = std::exchange(m_pending, nullptr)) {
        pending->result = FtpResult::failure(QStringLiteral("the box-file client was closed"));
        pending->done = true;
        resume(pending->handle);
    }
    for (const std::shared_ptr<Waiter> &waiter : std::exchange(m_waiters, {})) {
        waiter->granted = false;
        resume(waiter->handle);
    }
}

bool BoxFtp::isConnected() const
{
    return m_connected;
}

void BoxFtp::setPassive(bool passive)
{
    m_passive = passive;
    FtpSession *session = m_session;
    QMetaObject::invokeMethod(session, [session, passive] { session->setPassive(passive); }, Qt::QueuedConnection);
}

QCoro::Task<BoxFtpLease> BoxFtp::acquire()
{
    if (m_dying)
        co_return BoxFtpLease();
    if (!m_leased && m_waiters.empty()) {
        m_leased = true;
        co_return BoxFtpLease(this);
    }
    auto waiter = std::make_shared<Waiter>();
    m_waiters.push_back(waiter);
    co_await ResumeWhenSignalled<Waiter>{waiter.get()};
    if (!waiter->granted)
        co_return BoxFtpLease();
    co_return BoxFtpLease(this);
}

void BoxFtp::releaseLease()
{
    if (m_dying || !m_leased)
        return;
    disconnectSession();
    m_leased = false;
    Q_EMIT leaseReleased();
    if (m_leased || m_waiters.empty())
        return;
    // The next waiter gets the client now and runs once the releasing code
    // has returned to the event loop.
    m_leased = true;
    std::shared_ptr<Waiter> next = m_waiters.front();
    next->granted = true;
    QMetaObject::invokeMethod(this, [this, next] {
        if (!m_waiters.empty() && m_waiters.front() == next)
            m_waiters.pop_front();
        resume(next->handle);
    }, Qt::QueuedConnection);
}

void BoxFtp::disconnectSession()
{
    m_connected = false;
    if (FtpSession *session = m_session)
        QMetaObject::invokeMethod(session, [session] { session->disconnectFromHost(); }, Qt::QueuedConnection);
}

template<typename Step>
QCoro::Task<FtpResult> BoxFtp::runOnWorker(Step step)
{
    if (m_dying)
        co_return FtpResult::failure(QStringLiteral("the box-file client was closed"));
    if (m_pending)
        co_return FtpResult::failure(QStringLiteral("another step of the box-file client is still running"));
    auto pending = std::make_shared<PendingStep>();
    m_pending = pending;
    FtpSession *session = m_session;
    BoxFtp *self = this;
    QMetaObject::invokeMethod(session, [session, self, pending, step = std::move(step)]() mutable {
        [](FtpSession *worker, BoxFtp *owner, std::shared_ptr<PendingStep> done, Step work) -> QCoro::Task<> {
            FtpResult result = co_await work(worker);
            const bool connected = worker->isConnected();
            // Queued to the client's thread; dropped if the client is gone.
            QMetaObject::invokeMethod(owner, [owner, done, result, connected] {
                if (owner->m_pending != done)
                    return;
                owner->m_pending.reset();
                owner->m_connected = connected;
                done->result = result;
                done->done = true;
                resume(done->handle);
            }, Qt::QueuedConnection);
        }(session, self, pending, std::move(step));
    }, Qt::QueuedConnection);
    if (!pending->done)
        co_await ResumeWhenSignalled<PendingStep>{pending.get()};
    co_return pending->result;
}
