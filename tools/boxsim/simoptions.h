#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How the simulated box is set up and how awkwardly it behaves.
struct SimOptions {
    quint16 telnetPort = 0; // 0 = any free loopback port
    quint16 ftpPort = 0;
    bool ftp = true;
    QString root;        // empty: a temporary root, set up like --init-root
    bool initRoot = false;
    QString user = QStringLiteral("root");
    QString password = QStringLiteral("vexa");
    QString hostName = QStringLiteral("vexa");
    int ftpMaxLogins = 0;
    int ftpCloseDataEarly = -1;
    bool ftpSilentAfterAccept = false;
    bool splitPrompt = false;
    int splitPauseMs = 100;
    int slowMs = 0;
    QString dropOn;
};

struct SimOptionsResult {
    SimOptions options;
    QString error; // empty on success
    bool helpShown = false;
};

SimOptionsResult parseSimOptions(const QStringList &arguments);
