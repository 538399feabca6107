#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Where the box's services listen. The defaults are the box's real ports;
// the command line (and the demo box) override them.
struct BoxPorts {
    quint16 telnet = 23;
    quint16 ftp = 21;
    quint16 tftp = 69;
};

struct AppOptions {
    BoxPorts ports;
    bool demo = false;
    // Set when --demo or --box names the address the box fields start with.
    QString boxAddress;
};

struct AppOptionsResult {
    AppOptions options;
    QString error;  // empty on success
};

// Reads the program's command line (arguments without the program name
// are fine too; the first one is skipped as QCoreApplication does).
AppOptionsResult parseAppOptions(const QStringList &arguments);
