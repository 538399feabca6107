#include "boxsimulator.h"

#include "telnetsession.h"

#include <QDir>
#include <QTcpSocket>

BoxSimulator::BoxSimulator(const SimOptions &options, QObject *parent) : QObject(parent), m_options(options)
{
    connect(&m_telnet, &QTcpServer::newConnection, this, &BoxSimulator::acceptConnections);
    connect(&m_ftp, &FtpChild::ready, this, &BoxSimulator::ready);
    connect(&m_ftp, &FtpChild::failed, this, &BoxSimulator::failed);
}

void BoxSimulator::start()
{
    QString folder = m_options.root;
    bool populate = m_options.initRoot;
    if (folder.isEmpty()) {
        m_temporaryRoot = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/boxwart-box-XXXXXX"));
        if (!m_temporaryRoot->isValid()) {
            Q_EMIT failed(QStringLiteral("cannot create a temporary root: ") + m_temporaryRoot->errorString());
            return;
        }
        folder = m_temporaryRoot->path();
        populate = true;
    } else if (!QDir().mkpath(folder)) {
        Q_EMIT failed(QStringLiteral("cannot create the root ") + folder);
        return;
    }
    m_root = std::make_unique<BoxRoot>(folder);
    QString error;
    if (populate && !m_root->populate(&error)) {
        Q_EMIT failed(error);
        return;
    }

    if (!m_telnet.listen(QHostAddress::LocalHost, m_options.telnetPort)) {
        Q_EMIT failed(QStringLiteral("telnet port %1: ").arg(m_options.telnetPort) + m_telnet.errorString());
        return;
    }
    if (m_options.ftp)
        m_ftp.start(m_options, m_root->folder());
    else
        Q_EMIT ready();
}

void BoxSimulator::stop()
{
    m_ftp.stop();
    m_telnet.close();
}

quint16 BoxSimulator::telnetPort() const
{
    return m_telnet.serverPort();
}

quint16 BoxSimulator::ftpPort() const
{
    return m_options.ftp ? m_ftp.port() : 0;
}

QString BoxSimulator::rootFolder() const
{
    return m_root ? m_root->folder() : QString();
}

void BoxSimulator::acceptConnections()
{
    while (QTcpSocket *socket = m_telnet.nextPendingConnection()) {
        auto *session = new TelnetSession(socket, m_options, *m_root, m_state, this);
        connect(session, &TelnetSession::finished, session, &QObject::deleteLater);
    }
}
