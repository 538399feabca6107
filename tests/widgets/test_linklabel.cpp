#include "widgets/blinkinglabel.h"
#include "widgets/linklabel.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>

// Catches the addresses a link would hand to the web browser.
class BrowserCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

class TestLinkLabel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clickOpensAddress();
    void blinkingLabel();
};

void TestLinkLabel::clickOpensAddress()
{
    BrowserCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    LinkLabel link;
    link.setText(QStringLiteral("Online-Hilfe Bootmanager"));
    link.setProperty("url", QStringLiteral("https://boxwart.example.org/anleitung/ger/html/softup-html.html"));
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton);
    QTest::mouseClick(&link, Qt::RightButton);
    link.setFocus();
    QTest::keyClick(&link, Qt::Key_Return);
    QCOMPARE(browser.opened.size(), 2);
    QCOMPARE(browser.opened.first(), QUrl(QStringLiteral("https://boxwart.example.org/anleitung/ger/html/softup-html.html")));

    // No address, nothing opened.
    link.setUrl(QString());
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(browser.opened.size(), 2);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void TestLinkLabel::blinkingLabel()
{
    BlinkingLabel label;
    label.setProperty("blinking", true);
    QVERIFY(label.isBlinking());
    QTRY_VERIFY(!label.isTextShown());
    label.setProperty("blinking", false);
    QVERIFY(!label.isBlinking());
    // Stopping always leaves the text visible.
    QVERIFY(label.isTextShown());
}

QTEST_MAIN(TestLinkLabel)
#include "test_linklabel.moc"
