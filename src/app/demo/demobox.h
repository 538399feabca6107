#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

struct AppOptions;

// The simulated Vexa box the program runs against with --demo: the
// executable boxwart-boxsim beside the program, started on free loopback
// ports with a fresh temporary root. start() returns at once; ready() or
// failed() follows from the event loop. The simulator ends with this object.
class DemoBox : public QObject {
    Q_OBJECT
public:
    explicit DemoBox(QObject *parent = nullptr);
    ~DemoBox() override;

    // The box takes this user id at its telnet log-in and this user id and
    // password at its FTP service.
    void start(const QString &user, const QString &password);
    // With the user id and password the setup page starts with: the stored
    // settings, "root" when no user id is stored.
    void start();
    void stop();

    quint16 telnetPort() const { return m_telnetPort; }
    quint16 ftpPort() const { return m_ftpPort; }
    QString root() const { return m_root; }

    // Points the program at the box: address 127.0.0.1 and the box's ports.
    void applyTo(AppOptions &options) const;

    // Where the simulator is looked for: the program's own folder, unless
    // another executable is named here before start().
    static QString simulatorPath();
    void setSimulatorPath(const QString &path) { m_simulatorPath = path; }

Q_SIGNALS:
    void ready();
    void failed(const QString &reason);

private:
    void readOutput();
    void fail(const QString &reason);

    QProcess m_process;
    QTimer m_startTimeout;
    QByteArray m_output;
    quint16 m_telnetPort = 0;
    quint16 m_ftpPort = 0;
    QString m_root;
    QString m_simulatorPath;
    bool m_ready = false;
    bool m_failed = false;
};
