#include "net/tftp/tftpserver.h"

#include <QNetworkDatagram>
#include <QThread>
#include <QUdpSocket>

using namespace Tftp;

namespace {

// A flood of requests must not turn into a flood of threads.
constexpr size_t MaxTransfers = 64;

bool servableMode(const QByteArray &mode)
{
    for (const char *known : {"octet", "binary", "netascii"})
        if (mode.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

TftpServer::TftpServer(QObject *parent) : QObject(parent) {}

TftpServer::~TftpServer()
{
    for (Running &running : m_running)
        running.transfer->stop();
    for (Running &running : m_running) {
        running.thread->wait();
        delete running.thread;
    }
}

bool TftpServer::activate()
{
    if (m_socket)
        return true;
    auto *socket = new QUdpSocket(this);
    // Sharing the port would let another server take our requests unnoticed.
    if (!socket->bind(QHostAddress::AnyIPv4, m_defaultPort, QAbstractSocket::DontShareAddress)) {
        m_bindError = socket->error();
        m_errorString = socket->errorString();
        delete socket;
        return false;
    }
    m_socket = socket;
    connect(m_socket, &QUdpSocket::readyRead, this, &TftpServer::readPending);
    return true;
}

quint16 TftpServer::localPort() const
{
    return m_socket ? m_socket->localPort() : 0;
}

void TftpServer::readPending()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        if (datagram.isValid())
            handle(datagram);
    }
}

void TftpServer::reply(const QNetworkDatagram &to, const QByteArray &packet)
{
    m_socket->writeDatagram(packet, to.senderAddress(), quint16(to.senderPort()));
}

void TftpServer::handle(const QNetworkDatagram &datagram)
{
    const QByteArray bytes = datagram.data();
    const auto opcode = opcodeOf(bytes);
    if (opcode == Opcode::Error || opcode == Opcode::Ack)
        return;  // leftovers of an ended transfer; an error is never answered
    if (opcode != Opcode::ReadRequest && opcode != Opcode::WriteRequest) {
        reply(datagram, buildError(ErrorCode::IllegalOperation, "Illegal TFTP operation"));
        return;
    }
    const auto request = parseRequest(bytes);
    if (!request) {
        reply(datagram, buildError(ErrorCode::IllegalOperation, "Malformed request"));
        return;
    }
    if (request->opcode == Opcode::WriteRequest) {
        reply(datagram, buildError(ErrorCode::AccessViolation, "Write requests are not accepted"));
        return;
    }
    if (!servableMode(request->mode)) {
        reply(datagram, buildError(ErrorCode::IllegalOperation, "Unknown mode"));
        return;
    }

    const Peer peer{datagram.senderAddress(), quint16(datagram.senderPort())};
    // A client that repeats its request while its transfer runs already
    // gets no second transfer.
    for (const Running &running : m_running)
        if (running.transfer->peer() == peer)
            return;
    if (m_running.size() >= MaxTransfers) {
        reply(datagram, buildError(ErrorCode::NotDefined, "Server busy"));
        return;
    }

    ReadFileRequest fileRequest{QString::fromLatin1(request->fileName), peer, true};
    Q_EMIT readFile(fileRequest);
    if (!fileRequest.grantAccess) {
        reply(datagram, buildError(ErrorCode::AccessViolation, "Access denied"));
        return;
    }

    QHostAddress local = datagram.destinationAddress();
    if (local.isNull() || local.isBroadcast() || local.isMulticast() || local.protocol() != QAbstractSocket::IPv4Protocol)
        local = QHostAddress(QHostAddress::AnyIPv4);
    auto transfer = std::make_unique<Transfer>(*request, fileRequest.fileName, peer, local, m_timing);
    Transfer *work = transfer.get();
    QThread *thread = QThread::create([work] { work->run(); });
    connect(thread, &QThread::finished, this, [this, thread] { finished(thread); });
    m_running.push_back({std::move(transfer), thread});
    thread->start();
}

void TftpServer::finished(QThread *thread)
{
    const auto it = std::find_if(m_running.begin(), m_running.end(),
                                 [thread](const Running &running) { return running.thread == thread; });
    if (it == m_running.end())
        return;
    thread->wait();
    const std::unique_ptr<Transfer> transfer = std::move(it->transfer);
    m_running.erase(it);
    delete thread;
    if (transfer->outcome() != Outcome::NotStarted)
        Q_EMIT transferComplete(transfer->outcome() == Outcome::Succeeded, transfer->peer());
}
