#include "discovery/ui/boxsearchcontroller.h"

#include "discovery/segmentprefix.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

BoxSearchController::BoxSearchController(QMainWindow *window)
    : QObject(window),
      m_window(window),
      m_pcAddress(control<QLineEdit>(window, QStringLiteral("RzEdit1"))),
      m_boxAddress(control<QComboBox>(window, QStringLiteral("RzComboBox1"))),
      m_foundBoxes(control<QListWidget>(window, QStringLiteral("ListBox1"))),
      m_capturedLines(control<QPlainTextEdit>(window, QStringLiteral("Memo1"))),
      m_searchButton(control<QPushButton>(window, QStringLiteral("RzButton2"))),
      m_search(this)
{
    connect(m_searchButton, &QPushButton::clicked, this, &BoxSearchController::Button2Click);
    connect(&m_search, &BoxSearch::finished, this, &BoxSearchController::showOutcome);
}

void BoxSearchController::Button2Click()
{
    if (m_search.isRunning())
        return;
    m_boxAddress->clear();
    m_boxAddress->clearEditText();
    m_foundBoxes->clear();

    // Without three dots there is no segment to search, e.g. on a PC
    // without a network address.
    const std::optional<QString> prefix = segmentPrefix(m_pcAddress->text());
    if (!prefix)
        return;
    m_capturedLines->clear();

    BusyCursor::set();
    m_searchButton->setEnabled(false);
    m_search.start(*prefix);
}

void BoxSearchController::showOutcome(const SearchOutcome &outcome)
{
    // Memo1 was emptied when the search began, so this appends the lines.
    m_capturedLines->setPlainText(outcome.capturedLines.join(u'\n'));
    if (!outcome.startError.isNull())
        showStartError(outcome.startError);
    listFoundBoxes();
    m_searchButton->setEnabled(true);
    BusyCursor::restore();
}

void BoxSearchController::showStartError(const QString &reason)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("RunCaptured Error"), reason, QMessageBox::Ok,
                                m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void BoxSearchController::listFoundBoxes()
{
    const QStringList lines = m_capturedLines->toPlainText().split(u'\n');
    const QList<FoundBox> boxes = m_search.findBoxes(lines);
    for (const FoundBox &box : boxes) {
        m_boxAddress->addItem(box.address);
        m_boxAddress->setCurrentText(box.address);
        m_foundBoxes->addItem(u"IP: " + box.address + u"   MAC: " + box.hardwareAddress);
    }
}
