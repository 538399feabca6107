#pragma once

#include "boxroot.h"
#include "boxshell.h"
#include "ftpchild.h"
#include "simoptions.h"

#include <QObject>
#include <QTcpServer>
#include <QTemporaryDir>

#include <memory>

// The whole simulated box: its root folder, its telnet service and its FTP
// child. Emits ready() once both listen, failed() when it cannot start.
class BoxSimulator : public QObject {
    Q_OBJECT
public:
    explicit BoxSimulator(const SimOptions &options, QObject *parent = nullptr);

    void start();
    void stop();

    quint16 telnetPort() const;
    quint16 ftpPort() const;
    QString rootFolder() const;

Q_SIGNALS:
    void ready();
    void failed(const QString &reason);

private:
    void acceptConnections();

    SimOptions m_options;
    std::unique_ptr<QTemporaryDir> m_temporaryRoot;
    std::unique_ptr<BoxRoot> m_root;
    BoxState m_state;
    QTcpServer m_telnet;
    FtpChild m_ftp;
};
