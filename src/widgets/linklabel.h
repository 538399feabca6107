#pragma once

#include <QLabel>
#include <QString>

// A label drawn as a link; a click opens its address in the web browser.
class LinkLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString url READ url WRITE setUrl)
public:
    explicit LinkLabel(QWidget *parent = nullptr);

    QString url() const { return m_url; }
    void setUrl(const QString &url);

    void open() const;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_url;
};
