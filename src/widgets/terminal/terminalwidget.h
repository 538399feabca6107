#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

struct VTerm;
struct VTermScreen;

// A VT100 screen: bytes fed in are drawn as a terminal draws them, with a
// scroll-back of the lines that left the top. The telnet terminal and the
// serial console both use it.
class TerminalWidget : public QWidget {
    Q_OBJECT
public:
    explicit TerminalWidget(QWidget *parent = nullptr);
    ~TerminalWidget() override;

    void feed(const QByteArray &bytes);
    // All rows blank, cursor to the top left; the scroll-back is kept.
    void clearScreen();

    void setScreenSize(int rows, int columns);
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    void setScrollbackLimit(int lines);
    int scrollbackLimit() const { return m_scrollbackLimit; }

    // Screen rows as text, trailing blanks removed.
    QString rowText(int row) const;
    QStringList screenLines() const;
    // Lines that scrolled off the top, oldest first.
    QStringList scrollbackLines() const;
    // The whole screen as one text, rows joined by "\n", empty rows at the
    // bottom left out.
    QString screenText() const;
    int cursorRow() const;
    int cursorColumn() const;

    void setColors(const QColor &foreground, const QColor &background);

    // When on, typed keys are turned into the bytes a VT100 sends and handed
    // out by keyInput(); when off (the default) they are discarded.
    void setKeyboardInput(bool on) { m_keyboardInput = on; }
    bool keyboardInput() const { return m_keyboardInput; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void keyInput(const QByteArray &bytes);
    void bell();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Callbacks;
    void createScreen();
    QString cellsText(int row) const;

    VTerm *m_vterm = nullptr;
    VTermScreen *m_screen = nullptr;
    int m_rows = 25;
    int m_columns = 80;
    int m_scrollbackLimit = 40;
    QStringList m_scrollback;
    int m_scrollOffset = 0;  // scroll-back lines shown above the screen
    QColor m_foreground;
    QColor m_background;
    bool m_keyboardInput = false;
};
