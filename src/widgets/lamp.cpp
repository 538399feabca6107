#include "widgets/lamp.h"

#include <QPainter>
#include <QRadialGradient>

Lamp::Lamp(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Lamp::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void Lamp::setOn(bool on)
{
    m_on = on;
    update();
}

void Lamp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height()) - 2;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const QColor lit = m_on ? m_color : m_color.darker(300);
    QRadialGradient shine(circle.center() - QPointF(side / 5.0, side / 5.0), side / 1.5);
    shine.setColorAt(0, lit.lighter(170));
    shine.setColorAt(1, lit);
    painter.setBrush(shine);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawEllipse(circle);
}
