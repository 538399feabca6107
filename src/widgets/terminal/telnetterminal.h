#pragma once

#include "widgets/terminal/terminalwidget.h"

// The terminal on which every telnet job runs: a VT100 screen bound to a
// telnet connection to the box.
class TelnetTerminal : public TerminalWidget {
    Q_OBJECT
public:
    explicit TelnetTerminal(QWidget *parent = nullptr);
};
