#include "widgets/groupbar.h"

#include <QButtonGroup>
#include <QIcon>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString headerStyle = QStringLiteral(
    "QToolButton { color: white; font-weight: bold; text-align: left; padding: 3px 6px;"
    " border: 1px solid #3A5FCD; border-radius: 3px;"
    " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #2F5BD3, stop:1 #8FAAF0); }"
    "QToolButton:hover { border-color: #FFC73C; }");

const QString bodyStyle = QStringLiteral(
    "#groupBody { border: 1px solid #9DB2EA; border-top: none;"
    " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #E4EBFB, stop:1 #C7D4F5); }"
    "QToolButton { border: 1px solid transparent; padding: 2px; text-align: left; background: transparent; }"
    "QToolButton:hover { border-color: #FFC73C; }"
    "QToolButton:checked { border-color: #6A8DF4; background: #DDE5FC; }");

} // namespace

ShortcutGroup::ShortcutGroup(const QString &name, const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_header(new QToolButton(this))
    , m_body(new QWidget(this))
    , m_bodyLayout(new QVBoxLayout(m_body))
    , m_selection(new QButtonGroup(this))
{
    setObjectName(name);
    m_header->setObjectName(name + QStringLiteral("Header"));
    m_header->setText(caption);
    m_header->setCheckable(true);
    m_header->setChecked(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_header->setStyleSheet(headerStyle);
    m_header->setAccessibleDescription(tr("Gruppe auf- oder zuklappen"));

    m_body->setObjectName(QStringLiteral("groupBody"));
    m_body->setAttribute(Qt::WA_StyledBackground);
    m_body->setStyleSheet(bodyStyle);
    m_bodyLayout->setContentsMargins(4, 4, 4, 4);
    m_bodyLayout->setSpacing(1);
    m_selection->setExclusive(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_body);

    connect(m_header, &QToolButton::toggled, this, [this](bool open) {
        m_body->setVisible(open);
        Q_EMIT openChanged(open);
    });
    connect(m_selection, &QButtonGroup::idClicked, this, &ShortcutGroup::itemClicked);
}

QString ShortcutGroup::caption() const
{
    return m_header->text();
}

void ShortcutGroup::setCaption(const QString &caption)
{
    m_header->setText(caption);
}

bool ShortcutGroup::isOpen() const
{
    return m_header->isChecked();
}

void ShortcutGroup::setOpen(bool open)
{
    m_header->setChecked(open);
}

QToolButton *ShortcutGroup::addItem(const QString &text, const QIcon &icon)
{
    auto *button = new QToolButton(m_body);
    const int index = itemCount();
    button->setObjectName(objectName() + QStringLiteral("Items") + QString::number(index));
    button->setText(text);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_selection->addButton(button, index);
    m_items.append(button);
    m_bodyLayout->addWidget(button);
    return button;
}

void ShortcutGroup::addWidget(QWidget *widget)
{
    m_bodyLayout->addWidget(widget, 0, Qt::AlignHCenter);
}

QToolButton *ShortcutGroup::item(int index) const
{
    return (index >= 0 && index < itemCount()) ? m_items.at(index) : nullptr;
}

bool ShortcutGroup::isItemSelected(int index) const
{
    const QToolButton *button = item(index);
    return button && button->isChecked();
}

GroupBar::GroupBar(QWidget *parent)
    : QScrollArea(parent)
    , m_column(new QWidget)
    , m_columnLayout(new QVBoxLayout(m_column))
{
    m_columnLayout->setContentsMargins(6, 6, 6, 6);
    m_columnLayout->setSpacing(8);
    m_columnLayout->addStretch(1);
    setWidget(m_column);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    m_column->setObjectName(QStringLiteral("groupColumn"));
    m_column->setAttribute(Qt::WA_StyledBackground);
    m_column->setStyleSheet(QStringLiteral("#groupColumn { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                                           " stop:0 #7B9BE8, stop:1 #5070D0); }"));
}

ShortcutGroup *GroupBar::addGroup(const QString &name, const QString &caption, bool open)
{
    auto *group = new ShortcutGroup(name, caption, m_column);
    group->setOpen(open);
    m_columnLayout->insertWidget(m_columnLayout->count() - 1, group);
    m_groups.append(group);
    return group;
}
