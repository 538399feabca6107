#pragma once

#include <QList>
#include <QScrollArea>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QIcon;
class QToolButton;
class QVBoxLayout;

// One collapsible group of the shortcut bar: a header that opens and closes
// it and a column of items. Items are tool buttons named
// "<group name>Items<k>"; clicking one selects it and deselects the others.
class ShortcutGroup : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(bool open READ isOpen WRITE setOpen)
public:
    ShortcutGroup(const QString &name, const QString &caption, QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);

    bool isOpen() const;
    void setOpen(bool open);

    QToolButton *addItem(const QString &text, const QIcon &icon);
    // Places a widget of its own in the group's body (the logo).
    void addWidget(QWidget *widget);

    int itemCount() const { return int(m_items.size()); }
    QToolButton *item(int index) const;
    QToolButton *header() const { return m_header; }
    bool isItemSelected(int index) const;

Q_SIGNALS:
    void itemClicked(int index);
    void openChanged(bool open);

private:
    QToolButton *m_header;
    QWidget *m_body;
    QVBoxLayout *m_bodyLayout;
    QButtonGroup *m_selection;
    QList<QToolButton *> m_items;
};

// The bar of shortcut groups at the window's right edge, groups stacked
// from top to bottom.
class GroupBar : public QScrollArea {
    Q_OBJECT
public:
    explicit GroupBar(QWidget *parent = nullptr);

    ShortcutGroup *addGroup(const QString &name, const QString &caption, bool open);
    QList<ShortcutGroup *> groups() const { return m_groups; }

private:
    QWidget *m_column;
    QVBoxLayout *m_columnLayout;
    QList<ShortcutGroup *> m_groups;
};
