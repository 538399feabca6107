#pragma once

#include "simoptions.h"

#include <QObject>
#include <QProcess>

// The box's FTP service: pyftpdlib through ftpserver.py, run as a child
// process on the same root. Emits ready() once it listens.
class FtpChild : public QObject {
    Q_OBJECT
public:
    explicit FtpChild(QObject *parent = nullptr);
    ~FtpChild() override;

    void start(const SimOptions &options, const QString &root);
    void stop();
    quint16 port() const { return m_port; }

Q_SIGNALS:
    void ready(quint16 port);
    void failed(const QString &reason);

private:
    void readOutput();

    QProcess m_process;
    QByteArray m_output;
    quint16 m_port = 0;
};

// Where ftpserver.py is: beside the executable, or in the data folder.
QString findFtpServerScript();
