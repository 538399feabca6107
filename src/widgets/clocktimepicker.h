#pragma once

#include <QColor>
#include <QString>
#include <QTimeEdit>

// A time picker drawn on a coloured face. HowToUseMsg is the help text it
// shows as its tool tip (the language file replaces it).
class ClockTimePicker : public QTimeEdit {
    Q_OBJECT
    Q_PROPERTY(QString HowToUseMsg READ howToUseMsg WRITE setHowToUseMsg)
    Q_PROPERTY(QColor faceColor READ faceColor WRITE setFaceColor)
public:
    explicit ClockTimePicker(QWidget *parent = nullptr);

    QString howToUseMsg() const { return m_howToUse; }
    void setHowToUseMsg(const QString &message);

    QColor faceColor() const { return m_face; }
    void setFaceColor(const QColor &color);

private:
    QString m_howToUse;
    QColor m_face;
};
