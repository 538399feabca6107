#include "jobs/partitions/jobwindow.h"

#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

const QString JobWindow::ErrorPrefix = QStringLiteral("Error ");
const QString JobWindow::SavedHead = QStringLiteral("Saved in ");
const QString JobWindow::SavedMid = QStringLiteral(" as ");

JobWindow::JobWindow() = default;

JobWindow::~JobWindow() = default;

bool JobWindow::open(const SimBoxOptions &boxOptions)
{
    if (!m_box.start(boxOptions)) {
        m_error = m_box.errorString();
        return false;
    }
    AppOptions options;
    options.ports.telnet = m_box.telnetPort();
    options.ports.ftp = m_box.ftpPort();
    m_window = std::make_unique<TForm1>(options);

    find<QComboBox>(QStringLiteral("RzComboBox1"))->setEditText(QStringLiteral("127.0.0.1"));
    find<QLineEdit>(QStringLiteral("RzEdit2"))->setText(boxOptions.user);
    find<QLineEdit>(QStringLiteral("RzEdit3"))->setText(boxOptions.password);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get())) {
        m_error = QStringLiteral("the window was not shown");
        return false;
    }
    // A build tree without language files greets with error "10"; answer it.
    if (QMessageBox *box = shownMessageBox())
        answer(box, QMessageBox::Ok);
    // After the window has loaded its language, so these stay.
    MessageTexts &texts = m_window->state().messages;
    texts.MsgErrorPrefix = ErrorPrefix;
    texts.MsgBackupSavedHead = SavedHead;
    texts.MsgBackupSavedMid = SavedMid;
    texts.MsgNoMtdSelected = QStringLiteral("No partition chosen");
    texts.MsgNoBoxIp = QStringLiteral("No box address");
    texts.MsgNoUserId = QStringLiteral("No user id");
    return true;
}

QString JobWindow::errorString() const
{
    return m_error;
}

QWidget *JobWindow::widget(const QString &name) const
{
    return m_window->findChild<QWidget *>(name);
}

void JobWindow::click(const QString &name) const
{
    QWidget *target = widget(name);
    QVERIFY2(target, qPrintable(name));
    QTest::mouseClick(target, Qt::LeftButton);
}

QString JobWindow::currentPage() const
{
    const QWidget *page = find<QTabWidget>(QStringLiteral("RzPageControl1"))->currentWidget();
    return page ? page->objectName() : QString();
}

void answer(QMessageBox *box, QMessageBox::StandardButton button)
{
    QAbstractButton *target = box->button(button);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton);
}
