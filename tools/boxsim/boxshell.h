#pragma once

#include "boxroot.h"
#include "shelloutput.h"

#include <QString>
#include <QStringList>

// What the box remembers between command lines and sessions.
struct BoxState {
    bool diskMounted = false;
};

struct ShellResult {
    ShellOutputs output;       // what reaches the terminal, in order
    bool endsSession = false;  // "reboot" and "exit"
    bool reboots = false;
};

// Splits a command line into words the way the box's shell does for the
// lines the program types: blanks separate words, quotes and backslashes
// keep them together.
QStringList splitCommandLine(const QString &line);

// The box's shell: runs one command line against the root folder.
class BoxShell {
public:
    BoxShell(const BoxRoot &root, BoxState &state);

    ShellResult run(const QString &line);

private:
    int cat(const QStringList &arguments, ShellOutputs &output);
    int chmod(const QStringList &arguments, ShellOutputs &output);
    int mount(const QStringList &arguments, ShellOutputs &output);
    int umount(const QStringList &arguments, ShellOutputs &output);
    int hdparm(const QStringList &arguments, ShellOutputs &output);

    const BoxRoot &m_root;
    BoxState &m_state;
};
