#pragma once

#include <QColor>
#include <QWidget>

// A round signal lamp: bright in its colour when on, dark when off.
class Lamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(bool on READ isOn WRITE setOn)
public:
    explicit Lamp(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    bool isOn() const { return m_on; }
    void setOn(bool on);

    QSize sizeHint() const override { return {15, 15}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::green;
    bool m_on = false;
};
