#pragma once

#include <QLabel>
#include <QTimer>

// A bold red label whose text flashes while blinking is on.
class BlinkingLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool blinking READ isBlinking WRITE setBlinking)
public:
    explicit BlinkingLabel(QWidget *parent = nullptr);

    bool isBlinking() const { return m_timer.isActive(); }
    void setBlinking(bool blinking);

    // True while the text is drawn (it always is when not blinking).
    bool isTextShown() const { return m_shown; }

private:
    void showText(bool shown);

    QTimer m_timer;
    bool m_shown = true;
};
