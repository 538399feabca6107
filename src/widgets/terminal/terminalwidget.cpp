#include "widgets/terminal/terminalwidget.h"

TerminalWidget::TerminalWidget(QWidget *parent)
    : QWidget(parent)
{
}

TerminalWidget::~TerminalWidget() = default;

void TerminalWidget::feed(const QByteArray &bytes)
{
    Q_UNUSED(bytes);
}

void TerminalWidget::clearScreen() {}
