#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>

// Page controllers reach the window's controls by their form names.
template<typename T>
T *control(QObject *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    if (!found)
        throw std::logic_error("missing control " + name.toStdString());
    return found;
}

class QWidget;

// A hint of the form "short|long": the short part is the balloon shown on
// hovering, the long part the status text. A hint without "|" is both.
void setHint(QWidget *widget, const QString &hint);
QString hintOf(const QWidget *widget);
