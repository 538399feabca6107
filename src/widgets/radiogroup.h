#pragma once

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A captioned group of radio items laid out in columns, filled item by item
// at run time (the partition list of the flash page).
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget *parent = nullptr);

    int count() const;
    QString itemText(int index) const;
    void setItemText(int index, const QString &text);
    void addItem(const QString &text);
    void clearItems();

    // -1 when no item is chosen.
    int checkedIndex() const;
    void setCheckedIndex(int index);

    int columns() const { return m_columns; }
    void setColumns(int columns);

    QRadioButton *item(int index) const;

Q_SIGNALS:
    void checkedIndexChanged(int index);

private:
    void relayout();

    QGridLayout *m_layout;
    QButtonGroup *m_buttons;
    QList<QRadioButton *> m_items;
    int m_columns = 1;
};
