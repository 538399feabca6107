#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(QWidget *parent)
    : QGroupBox(parent)
    , m_layout(new QGridLayout(this))
    , m_buttons(new QButtonGroup(this))
{
    m_buttons->setExclusive(true);
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            Q_EMIT checkedIndexChanged(id);
    });
}

int RadioGroup::count() const
{
    return int(m_items.size());
}

QString RadioGroup::itemText(int index) const
{
    return (index >= 0 && index < count()) ? m_items.at(index)->text() : QString();
}

void RadioGroup::setItemText(int index, const QString &text)
{
    if (index >= 0 && index < count())
        m_items.at(index)->setText(text);
}

void RadioGroup::addItem(const QString &text)
{
    auto *button = new QRadioButton(text, this);
    button->setObjectName(objectName() + QStringLiteral("Item") + QString::number(count()));
    m_buttons->addButton(button, count());
    m_items.append(button);
    relayout();
}

void RadioGroup::clearItems()
{
    for (QRadioButton *button : std::as_const(m_items)) {
        m_buttons->removeButton(button);
        delete button;
    }
    m_items.clear();
}

int RadioGroup::checkedIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setCheckedIndex(int index)
{
    if (index >= 0 && index < count()) {
        m_items.at(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button by itself.
    m_buttons->setExclusive(false);
    for (QRadioButton *button : std::as_const(m_items))
        button->setChecked(false);
    m_buttons->setExclusive(true);
}

void RadioGroup::setColumns(int columns)
{
    m_columns = qMax(1, columns);
    relayout();
}

QRadioButton *RadioGroup::item(int index) const
{
    return (index >= 0 && index < count()) ? m_items.at(index) : nullptr;
}

void RadioGroup::relayout()
{
    for (QRadioButton *button : std::as_const(m_items))
        m_layout->removeWidget(button);
    const int rows = (count() + m_columns - 1) / m_columns;
    for (int i = 0; i < count(); ++i)
        m_layout->addWidget(m_items.at(i), rows ? i % rows : 0, rows ? i / rows : 0);
}
