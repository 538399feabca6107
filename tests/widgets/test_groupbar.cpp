#include "widgets/groupbar.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestGroupBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headerTogglesGroup();
    void itemSelection();
};

void TestGroupBar::headerTogglesGroup()
{
    GroupBar bar;
    ShortcutGroup *group = bar.addGroup(QStringLiteral("RzGroup9"), QStringLiteral("Head"), false);
    group->addItem(QStringLiteral("one"), QIcon());
    bar.show();
    QVERIFY(!group->isOpen());
    QVERIFY(!group->item(0)->isVisible());
    QSignalSpy opened(group, &ShortcutGroup::openChanged);
    QTest::mouseClick(group->header(), Qt::LeftButton);
    QVERIFY(group->isOpen());
    QVERIFY(group->item(0)->isVisible());
    QCOMPARE(opened.count(), 1);
    group->setProperty("caption", QStringLiteral("Kopf"));
    QCOMPARE(group->header()->text(), QStringLiteral("Kopf"));
}

void TestGroupBar::itemSelection()
{
    GroupBar bar;
    ShortcutGroup *group = bar.addGroup(QStringLiteral("RzGroup9"), QStringLiteral("Head"), true);
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
        group->addItem(text, QIcon());
    bar.show();
    QCOMPARE(bar.findChild<QToolButton *>(QStringLiteral("RzGroup9Items2")), group->item(2));
    QSignalSpy clicked(group, &ShortcutGroup::itemClicked);
    for (int k = 0; k < 3; ++k)
        QVERIFY(!group->isItemSelected(k));

    QTest::mouseClick(group->item(2), Qt::LeftButton);
    QTest::mouseClick(group->item(0), Qt::LeftButton);
    // Clicking the selected item again keeps it selected and still counts.
    QTest::mouseClick(group->item(0), Qt::LeftButton);
    QCOMPARE(clicked.count(), 3);
    QCOMPARE(clicked.at(0).at(0).toInt(), 2);
    QCOMPARE(clicked.at(2).at(0).toInt(), 0);
    QVERIFY(group->isItemSelected(0));
    QVERIFY(!group->isItemSelected(2));
    QVERIFY(!group->isItemSelected(7));
}

QTEST_MAIN(TestGroupBar)
#include "test_groupbar.moc"
