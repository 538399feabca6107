#include "icons/boxwarticons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace BoxwartIcons {

namespace {

constexpr int Side = 16;

QPixmap canvas(int width = Side, int height = Side)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void stripes(QPainter &painter, const QRect &area, const QList<QColor> &colors, Qt::Orientation orientation)
{
    const int count = int(colors.size());
    for (int i = 0; i < count; ++i) {
        QRect band;
        if (orientation == Qt::Horizontal)
            band = QRect(area.left(), area.top() + area.height() * i / count, area.width(),
                         area.height() * (i + 1) / count - area.height() * i / count);
        else
            band = QRect(area.left() + area.width() * i / count, area.top(),
                         area.width() * (i + 1) / count - area.width() * i / count, area.height());
        painter.fillRect(band, colors.at(i));
    }
}

void drawUnionFlag(QPainter &painter, const QRect &area)
{
    const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
    painter.fillRect(area, blue);
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLine(area.topLeft(), area.bottomRight() + QPoint(1, 1));
    painter.drawLine(area.bottomLeft() + QPoint(0, 1), area.topRight() + QPoint(1, 0));
    painter.setPen(QPen(red, 1));
    painter.drawLine(area.topLeft(), area.bottomRight() + QPoint(1, 1));
    painter.drawLine(area.bottomLeft() + QPoint(0, 1), area.topRight() + QPoint(1, 0));
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPoint centre = area.center();
    painter.fillRect(QRect(area.left(), centre.y() - 2, area.width(), 5), Qt::white);
    painter.fillRect(QRect(centre.x() - 2, area.top(), 5, area.height()), Qt::white);
    painter.fillRect(QRect(area.left(), centre.y() - 1, area.width(), 3), red);
    painter.fillRect(QRect(centre.x() - 1, area.top(), 3, area.height()), red);
    painter.restore();
}

void drawGreekFlag(QPainter &painter, const QRect &area)
{
    const QColor blue(0x0D, 0x5E, 0xAF);
    QList<QColor> bands;
    for (int i = 0; i < 9; ++i)
        bands.append(i % 2 == 0 ? blue : QColor(Qt::white));
    stripes(painter, area, bands, Qt::Horizontal);
    const QRect canton(area.left(), area.top(), area.height() * 5 / 9, area.height() * 5 / 9);
    painter.fillRect(canton, blue);
    const QPoint centre = canton.center();
    painter.fillRect(QRect(canton.left(), centre.y(), canton.width(), 1), Qt::white);
    painter.fillRect(QRect(centre.x(), canton.top(), 1, canton.height()), Qt::white);
}

QIcon fromPixmap(const QPixmap &pixmap)
{
    QIcon icon;
    icon.addPixmap(pixmap);
    return icon;
}

void drawArrow(QPainter &painter, bool up, const QColor &color)
{
    QPainterPath arrow;
    if (up) {
        arrow.moveTo(8, 1);
        arrow.lineTo(14, 7);
        arrow.lineTo(10, 7);
        arrow.lineTo(10, 11);
        arrow.lineTo(6, 11);
        arrow.lineTo(6, 7);
        arrow.lineTo(2, 7);
    } else {
        arrow.moveTo(8, 11);
        arrow.lineTo(14, 5);
        arrow.lineTo(10, 5);
        arrow.lineTo(10, 1);
        arrow.lineTo(6, 1);
        arrow.lineTo(6, 5);
        arrow.lineTo(2, 5);
    }
    arrow.closeSubpath();
    painter.setPen(QPen(color.darker(150), 1));
    painter.setBrush(color);
    painter.drawPath(arrow);
    // The box the image goes into or comes out of.
    painter.setBrush(QColor(0x50, 0x50, 0x60));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 12, 14, 3.5), 1, 1);
}

} // namespace

QIcon flag(Flag which)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    const QRect area(0, 3, 16, 10);
    switch (which) {
    case Flag::Germany:
        stripes(painter, area, {Qt::black, QColor(0xDD, 0x00, 0x00), QColor(0xFF, 0xCE, 0x00)}, Qt::Horizontal);
        break;
    case Flag::UnitedKingdom:
        drawUnionFlag(painter, area);
        break;
    case Flag::Russia:
        stripes(painter, area, {Qt::white, QColor(0x00, 0x39, 0xA6), QColor(0xD5, 0x2B, 0x1E)}, Qt::Horizontal);
        break;
    case Flag::Netherlands:
        stripes(painter, area, {QColor(0xAE, 0x1C, 0x28), Qt::white, QColor(0x21, 0x46, 0x8B)}, Qt::Horizontal);
        break;
    case Flag::Italy:
        stripes(painter, area, {QColor(0x00, 0x92, 0x46), Qt::white, QColor(0xCE, 0x2B, 0x37)}, Qt::Vertical);
        break;
    case Flag::Greece:
        drawGreekFlag(painter, area);
        break;
    }
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.end();
    return fromPixmap(pixmap);
}

QIcon symbol(Symbol which)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case Symbol::Settings: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x60, 0x6C, 0x80));
        for (int tooth = 0; tooth < 8; ++tooth) {
            painter.save();
            painter.translate(8, 8);
            painter.rotate(tooth * 45.0);
            painter.drawRect(QRectF(-1.5, -7.5, 3, 4));
            painter.restore();
        }
        painter.drawEllipse(QPointF(8, 8), 5, 5);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(8, 8), 2, 2);
        break;
    }
    case Symbol::Upload:
        drawArrow(painter, true, QColor(0x30, 0xA0, 0x30));
        break;
    case Symbol::Download:
        drawArrow(painter, false, QColor(0x30, 0x60, 0xD0));
        break;
    case Symbol::Network:
        painter.setPen(QPen(QColor(0x30, 0x50, 0x90), 1.5));
        painter.drawLine(QPointF(8, 4), QPointF(3, 12));
        painter.drawLine(QPointF(8, 4), QPointF(13, 12));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x30, 0x80, 0xE0));
        painter.drawEllipse(QPointF(8, 4), 3, 3);
        painter.drawEllipse(QPointF(3, 12), 2.5, 2.5);
        painter.drawEllipse(QPointF(13, 12), 2.5, 2.5);
        break;
    case Symbol::Console:
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        painter.setBrush(QColor(0x10, 0x10, 0x40));
        painter.drawRoundedRect(QRectF(0.5, 1.5, 15, 13), 2, 2);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.drawPolyline(QList<QPointF>{{3, 5}, {6, 8}, {3, 11}});
        painter.drawLine(QPointF(8, 11), QPointF(12, 11));
        break;
    case Symbol::Clock:
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        painter.setBrush(QColor(0xC0, 0xDC, 0xC0));
        painter.drawEllipse(QPointF(8, 8), 7, 7);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.drawLine(QPointF(8, 8), QPointF(8, 3.5));
        painter.drawLine(QPointF(8, 8), QPointF(11, 9.5));
        break;
    case Symbol::Disk:
        painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
        painter.setBrush(QColor(0xB0, 0xB4, 0xBC));
        painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 8), 2, 2);
        painter.setBrush(QColor(0x20, 0xD0, 0x20));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(12, 10), 1.2, 1.2);
        break;
    case Symbol::Connect:
    case Symbol::Disconnect: {
        const bool joined = which == Symbol::Connect;
        const QColor color = joined ? QColor(0x20, 0x90, 0x20) : QColor(0xC0, 0x30, 0x30);
        painter.setPen(QPen(color, 2));
        painter.drawLine(QPointF(1, 8), QPointF(joined ? 6 : 4, 8));
        painter.drawLine(QPointF(joined ? 10 : 12, 8), QPointF(15, 8));
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawRoundedRect(QRectF(joined ? 5 : 3, 5, 3, 6), 1, 1);
        painter.drawRoundedRect(QRectF(joined ? 8 : 10, 5, 3, 6), 1, 1);
        break;
    }
    case Symbol::Save:
        painter.setPen(QPen(QColor(0x20, 0x30, 0x60), 1));
        painter.setBrush(QColor(0x40, 0x60, 0xB0));
        painter.drawRect(QRectF(1.5, 1.5, 13, 13));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(4.5, 1.5, 7, 5));
        painter.setBrush(QColor(0xD0, 0xD0, 0xD0));
        painter.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    }
    painter.end();
    return fromPixmap(pixmap);
}

QPixmap logo()
{
    QPixmap pixmap = canvas(105, 57);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient front(0, 0, 0, 57);
    front.setColorAt(0, QColor(0x3A, 0x3F, 0x4A));
    front.setColorAt(1, QColor(0x14, 0x16, 0x1C));
    painter.setPen(QPen(QColor(0x9D, 0xB2, 0xEA), 1.5));
    painter.setBrush(front);
    painter.drawRoundedRect(QRectF(1, 1, 103, 55), 7, 7);

    // A display window and two keys, like the front of a receiver.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x10, 0x30, 0x70));
    painter.drawRoundedRect(QRectF(9, 36, 44, 12), 2, 2);
    painter.setPen(QColor(0x60, 0xFF, 0x90));
    QFont digits(QStringLiteral("Monospace"));
    digits.setStyleHint(QFont::TypeWriter);
    digits.setPixelSize(9);
    painter.setFont(digits);
    painter.drawText(QRectF(9, 36, 44, 12), Qt::AlignCenter, QStringLiteral("0.9"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xC7, 0x3C));
    painter.drawEllipse(QPointF(78, 42), 4, 4);
    painter.setBrush(QColor(0xFF, 0x80, 0x80));
    painter.drawEllipse(QPointF(91, 42), 4, 4);

    QFont name(QStringLiteral("Sans Serif"));
    name.setStyleHint(QFont::SansSerif);
    name.setBold(true);
    name.setPixelSize(20);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 5, 105, 26), Qt::AlignCenter, QStringLiteral("Boxwart"));
    painter.end();
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        QPixmap pixmap = canvas(size, size);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x2F, 0x5B, 0xD3));
        painter.drawRoundedRect(QRectF(0.5 * unit, 3 * unit, 15 * unit, 10 * unit), 2 * unit, 2 * unit);
        painter.setBrush(QColor(0xFF, 0xC7, 0x3C));
        painter.drawEllipse(QPointF(12 * unit, 8 * unit), 1.7 * unit, 1.7 * unit);
        painter.setBrush(QColor(0x60, 0xFF, 0x90));
        painter.drawRect(QRectF(2.5 * unit, 6.5 * unit, 6 * unit, 3 * unit));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace BoxwartIcons
