#include "widgets/filenameedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

class TestFileNameEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exitOnlyWhenFocusLeavesTheField();
};

// Text to button is no exit; text to button to another control before the
// event loop runs is one exit, not two; another window taking the activation
// is no exit.
void TestFileNameEdit::exitOnlyWhenFocusLeavesTheField()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new FileNameEdit;
    auto *other = new QLineEdit;
    layout->addWidget(field);
    layout->addWidget(other);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy exits(field, &FileNameEdit::afterExit);

    field->lineEdit()->setFocus(Qt::TabFocusReason);
    field->browseButton()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QCOMPARE(exits.size(), 0);

    field->lineEdit()->setFocus(Qt::TabFocusReason);
    field->browseButton()->setFocus(Qt::TabFocusReason);
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QCOMPARE(exits.size(), 1);

    field->lineEdit()->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QApplication::processEvents();
    QCOMPARE(exits.size(), 1);
    dialog.close();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(field->lineEdit()));

    // By keyboard: Tab to the browse button, Tab on to the other field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(field->browseButton()));
    QCOMPARE(exits.size(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(other));
    QCOMPARE(exits.size(), 2);
}

QTEST_MAIN(TestFileNameEdit)
#include "test_filenameedit.moc"
