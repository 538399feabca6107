#include "widgets/busycursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace BusyCursor {

void set()
{
    if (!isBusy())
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void restore()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool isBusy()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

} // namespace BusyCursor
