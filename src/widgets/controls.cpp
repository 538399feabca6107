#include "widgets/controls.h"

#include <QVariant>
#include <QWidget>

void setHint(QWidget *widget, const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    widget->setToolTip(bar < 0 ? hint : hint.left(bar));
    widget->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    widget->setProperty("hint", hint);
}

QString hintOf(const QWidget *widget)
{
    return widget->property("hint").toString();
}
