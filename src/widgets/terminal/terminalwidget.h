#pragma once

#include <QWidget>

// A VT100 screen: bytes fed in are drawn as a terminal draws them.
// The telnet terminal and the serial console both use it.
class TerminalWidget : public QWidget {
    Q_OBJECT
public:
    explicit TerminalWidget(QWidget *parent = nullptr);
    ~TerminalWidget() override;

    void feed(const QByteArray &bytes);
    void clearScreen();
};
