#include "widgets/linklabel.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

LinkLabel::LinkLabel(QWidget *parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setStyleSheet(QStringLiteral("LinkLabel { color: #0000EE; text-decoration: underline; }"
                                 "LinkLabel:focus { border: 1px dotted #0000EE; }"));
}

void LinkLabel::setUrl(const QString &url)
{
    m_url = url;
    setStatusTip(url);
}

void LinkLabel::open() const
{
    if (!m_url.isEmpty())
        QDesktopServices::openUrl(QUrl(m_url));
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        open();
        return;
    }
    QLabel::keyPressEvent(event);
}
