#include "widgets/terminal/telnetterminal.h"

TelnetTerminal::TelnetTerminal(QWidget *parent)
    : TerminalWidget(parent)
{
}
