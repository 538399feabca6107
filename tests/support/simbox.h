#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// Starts the simulated Vexa box (boxwart-boxsim) for an integration test, on
// free loopback ports and on a fresh root folder of its own, and stops it
// again. The executable is looked up in BOXWART_BIN_DIR.
//
//   SimBox box;
//   SimBoxOptions options; // designated initializers trip -Wmissing-field-initializers
//   options.splitPrompt = true;
//   QVERIFY2(box.start(options), qPrintable(box.errorString()));
//   socket.connectToHost(QHostAddress::LocalHost, box.telnetPort());
//   ...
//   QCOMPARE(box.read("/dev/mtd/3"), image);

struct SimBoxOptions {
    QString user = QStringLiteral("root");
    QString password = QStringLiteral("vexa");
    bool ftp = true;            // false: no FTP service (ftpPort() is 0)
    int ftpMaxLogins = 0;       // FTP log-ins after this many are refused (0 = no limit)
    bool splitPrompt = false;   // prompt in segments of its own, split after "$"
    int slowMs = 0;             // delay before every output of the telnet side
    QString dropOn;             // close the telnet connection on a command line containing this
    // Passed to the simulator as they stand, e.g. the FTP fault modes
    // "--ftp-close-data-early" BYTES and "--ftp-silent-after-accept".
    QStringList extraArguments;
};

class SimBoxProcess;

class SimBox {
public:
    SimBox();
    ~SimBox(); // stops the box
    SimBox(const SimBox &) = delete;
    SimBox &operator=(const SimBox &) = delete;

    // Creates the root, starts the simulator and waits (up to 30 s) until both
    // services listen. Returns false and sets errorString() on failure.
    bool start(const SimBoxOptions &options = {});
    void stop();
    bool isRunning() const;
    QString errorString() const;

    quint16 telnetPort() const;
    quint16 ftpPort() const;
    const SimBoxOptions &options() const;

    // The box's file system on this PC.
    QString root() const;
    // Local path of a box path ("/dev/mtd/3" -> "<root>/dev/mtd/3").
    QString file(const QString &boxPath) const;
    QByteArray read(const QString &boxPath) const;
    bool write(const QString &boxPath, const QByteArray &content) const;
    bool exists(const QString &boxPath) const;

    // Every line the box's shell took as a command so far, in order (the
    // password line typed after the log-in is one of them; the user id is not).
    // Filled while the event loop runs, so wait with QTRY_*.
    QStringList commands() const;
    // Everything the simulator wrote to its standard error so far.
    QByteArray log() const;

private:
    std::unique_ptr<SimBoxProcess> d;
};
