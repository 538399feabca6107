#pragma once

#include <QApplication>
#include <QMessageBox>

// The message box the program shows at the moment, if any.
inline QMessageBox *shownMessageBox()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}
