#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A file-name field with a browse button. afterExit() is emitted whenever
// the input focus leaves the whole field (text and button) for another
// control of the same window, by keyboard or mouse.
class FileNameEdit : public QWidget {
    Q_OBJECT
public:
    explicit FileNameEdit(QWidget *parent = nullptr);

    QString fileName() const;
    void setFileName(const QString &fileName);

    // Filter in the form "Imagefiles (*.img)|*.img|Binfile (*.bin)|*.bin".
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter);

    QLineEdit *lineEdit() const { return m_edit; }
    QToolButton *browseButton() const { return m_browse; }

Q_SIGNALS:
    void afterExit();
    void fileNameChanged(const QString &fileName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void browse();
    bool focusInside() const;

    QLineEdit *m_edit;
    QToolButton *m_browse;
    QString m_filter;
    bool m_exitCheckPending = false;
};
