#pragma once

#include "discovery/boxsearch.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;

// "Suche Box" on page "Setup/MAC": finds the boxes of the family in the PC's
// segment and offers their addresses in the box address field.
class BoxSearchController : public QObject {
    Q_OBJECT

public:
    explicit BoxSearchController(QMainWindow *window);

    // The click of RzButton2.
    void Button2Click();

private:
    void showOutcome(const SearchOutcome &outcome);
    void showStartError(const QString &reason);
    void listFoundBoxes();

    QMainWindow *m_window;
    QLineEdit *m_pcAddress;
    QComboBox *m_boxAddress;
    QListWidget *m_foundBoxes;
    QPlainTextEdit *m_capturedLines;
    QPushButton *m_searchButton;
    BoxSearch m_search;
};
