// Our own accessibility interfaces keep the promises Qt's AT-SPI bridge
// relies on: never a null child, the same object for the same panel while
// the widget lives, nothing left registered once it is gone; and a link's
// action clicks once, only after the screen reader's call has returned.
#include "accessibilityon.h"
#include "widgets/linklabel.h"
#include "widgets/statusbar.h"
#include "testmain.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

class AccessiblesTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(switchAccessibilityOn()); }

    void statusPanelsAreKeptAndFreed()
    {
        auto *bar = new ui::StatusBar;
        bar->setPanelText(0, QStringLiteral("Adatok keresése !"));
        QAccessibleInterface *barInterface = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(barInterface->role(), QAccessible::StatusBar);
        QCOMPARE(barInterface->childCount(), ui::StatusBar::panelCount);

        QAccessibleInterface *hints = barInterface->child(0);
        QCOMPARE(barInterface->child(0), hints);
        QCOMPARE(hints->parent(), barInterface);
        QCOMPARE(barInterface->indexOfChild(hints), 0);
        QCOMPARE(hints->text(QAccessible::Name), QStringLiteral("Adatok keresése !"));
        QCOMPARE(hints->textInterface()->text(0, -1), QStringLiteral("Adatok keresése !"));
        for (int index : {-1, ui::StatusBar::panelCount, 99})
            QVERIFY(barInterface->child(index));

        const QAccessible::Id hintsId = QAccessible::uniqueId(hints);
        const QAccessible::Id clockId = QAccessible::uniqueId(barInterface->child(1));
        delete bar;
        QVERIFY(!QAccessible::accessibleInterface(hintsId));
        QVERIFY(!QAccessible::accessibleInterface(clockId));
    }

    void linkActionClicksOnceAfterTheCall()
    {
        ui::LinkLabel label(QStringLiteral("http://www.pellimor.example/"));
        QSignalSpy clicks(&label, &ui::LinkLabel::clicked);
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(&label);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});

        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0);
        QTRY_COMPARE(clicks.size(), 1);
        QTest::qWait(50);
        QCOMPARE(clicks.size(), 1);
    }
};

VARGORIN_TEST_MAIN(AccessiblesTest)
#include "tst_accessibles.moc"
