#include "widgets/blinkinglabel.h"

BlinkingLabel::BlinkingLabel(QWidget *parent)
    : QLabel(parent)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, [this] { showText(!m_shown); });
    showText(true);
}

void BlinkingLabel::setBlinking(bool blinking)
{
    if (blinking)
        m_timer.start();
    else
        m_timer.stop();
    showText(true);
}

void BlinkingLabel::showText(bool shown)
{
    m_shown = shown;
    // The text keeps its place while hidden, so the layout does not jump.
    setStyleSheet(shown ? QStringLiteral("BlinkingLabel { color: #FF0000; }")
                        : QStringLiteral("BlinkingLabel { color: transparent; }"));
}
