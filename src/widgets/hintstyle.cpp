#include "widgets/hintstyle.h"

#include <QApplication>
#include <QStyleFactory>

int HintStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                         QStyleHintReturn *returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay || hint == SH_ToolTip_FallAsleepDelay)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void HintStyle::install()
{
    if (!qobject_cast<HintStyle *>(QApplication::style()))
        QApplication::setStyle(new HintStyle(QStyleFactory::create(QApplication::style()->name())));
}
