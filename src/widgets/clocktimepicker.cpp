#include "widgets/clocktimepicker.h"

ClockTimePicker::ClockTimePicker(QWidget *parent)
    : QTimeEdit(parent)
    , m_face(Qt::white)
{
    setDisplayFormat(QStringLiteral("HH:mm"));
    setHowToUseMsg(QStringLiteral("Use the arrow keys or the mouse wheel to change the hour or the minute "
                                  "under the cursor, or type the time."));
}

void ClockTimePicker::setHowToUseMsg(const QString &message)
{
    m_howToUse = message;
    setToolTip(message);
}

void ClockTimePicker::setFaceColor(const QColor &color)
{
    m_face = color;
    setStyleSheet(QStringLiteral("ClockTimePicker { background: %1; }").arg(color.name()));
}
