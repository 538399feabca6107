#include "widgets/terminal/telnetterminal.h"
#include "widgets/terminal/terminalwidget.h"

#include <QSignalSpy>
#include <QTest>

class TestTerminalWidget : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawsWhatIsFed_data();
    void drawsWhatIsFed();
    void keepsFortyLinesOfScrollback();
    void clearingBlanksTheScreen();
    void keysOfTheTelnetTerminalAreDiscarded();
    void keysOfAConsoleAreSent_data();
    void keysOfAConsoleAreSent();
};

void TestTerminalWidget::drawsWhatIsFed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");

    QTest::newRow("lines") << QByteArray("AB\r\nC") << u"AB\nC"_qs << 1 << 1;
    QTest::newRow("line feed alone keeps the column") << QByteArray("AB\nC") << u"AB\n  C"_qs << 1 << 3;
    QTest::newRow("progress rewritten by carriage returns")
            << QByteArray("Erasing 1/4 (25%)\rErasing 4/4 (100%)\r\n") << u"Erasing 4/4 (100%)"_qs << 1 << 0;
    QTest::newRow("cursor addressing") << QByteArray("\x1b[3;5HZ") << u"\n\n    Z"_qs << 2 << 5;
    QTest::newRow("erase display") << QByteArray("old text\x1b[2J\x1b[Hnew") << u"new"_qs << 0 << 3;
    QTest::newRow("colours do not reach the text") << QByteArray("\x1b[1;31mred\x1b[0m") << u"red"_qs << 0 << 3;
    QTest::newRow("unfinished escape sequence") << QByteArray("ok\x1b[") << u"ok"_qs << 0 << 2;
    QTest::newRow("long line wraps at 80") << QByteArray(85, 'x') << QString(QString(80, u'x') + u'\n' + QString(5, u'x'))
                                          << 1 << 5;
}

void TestTerminalWidget::drawsWhatIsFed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, screen);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);
    TelnetTerminal terminal;
    terminal.show();
    terminal.feed(bytes);
    QCOMPARE(terminal.screenText(), screen);
    QCOMPARE(terminal.cursorRow(), cursorRow);
    QCOMPARE(terminal.cursorColumn(), cursorColumn);
    QVERIFY(!terminal.grab().isNull());  // painting copes with whatever was fed
}

void TestTerminalWidget::keepsFortyLinesOfScrollback()
{
    TelnetTerminal terminal;
    for (int i = 1; i <= 100; ++i)
        terminal.feed(QByteArray::number(i) + "\r\n");
    const QStringList screen = terminal.screenLines();
    QCOMPARE(screen.size(), 25);
    QCOMPARE(screen.first(), u"77"_qs);
    QCOMPARE(screen.at(23), u"100"_qs);
    const QStringList scrolled = terminal.scrollbackLines();
    QCOMPARE(scrolled.size(), 40);
    QCOMPARE(scrolled.first(), u"37"_qs);
    QCOMPARE(scrolled.last(), u"76"_qs);
}

void TestTerminalWidget::clearingBlanksTheScreen()
{
    TelnetTerminal terminal;
    terminal.feed("login: root\r\n$ \x1b[");  // the box stopped inside an escape sequence
    terminal.clearScreen();
    QCOMPARE(terminal.screenText(), QString());
    QCOMPARE(terminal.cursorRow(), 0);
    QCOMPARE(terminal.cursorColumn(), 0);
    terminal.feed("A");
    QCOMPARE(terminal.screenText(), u"A"_qs);
}

void TestTerminalWidget::keysOfTheTelnetTerminalAreDiscarded()
{
    TelnetTerminal terminal;
    terminal.show();
    QSignalSpy keys(&terminal, &TerminalWidget::keyInput);
    QTest::keyClicks(&terminal, u"ls\r"_qs);
    QTest::keyClick(&terminal, Qt::Key_Up);
    QTest::keyClick(&terminal, Qt::Key_F1);
    QVERIFY(keys.isEmpty());
    QCOMPARE(terminal.screenText(), QString());  // no local echo
}

void TestTerminalWidget::keysOfAConsoleAreSent_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << QByteArray("a");
    QTest::newRow("control character") << int(Qt::Key_C) << int(Qt::ControlModifier) << QByteArray("\x03");
    QTest::newRow("return") << int(Qt::Key_Return) << int(Qt::NoModifier) << QByteArray("\r");
    QTest::newRow("cursor up") << int(Qt::Key_Up) << int(Qt::NoModifier) << QByteArray("\x1b[A");
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << QByteArray("\x7f");
}

void TestTerminalWidget::keysOfAConsoleAreSent()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QByteArray, sent);
    TerminalWidget terminal;
    terminal.setKeyboardInput(true);
    terminal.show();
    QByteArray received;
    connect(&terminal, &TerminalWidget::keyInput, this, [&received](const QByteArray &bytes) { received += bytes; });
    QTest::keyClick(&terminal, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(received, sent);
    QCOMPARE(terminal.screenText(), QString());  // no local echo
}

QTEST_MAIN(TestTerminalWidget)
#include "test_terminalwidget.moc"
