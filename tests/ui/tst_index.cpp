// The title index inside the main window: the grid with the detail window
// in front of it, its hint, and the focus when a search lands on it.
#include "dbgrid.h"
#include "program.h"
#include "testmain.h"

#include <QTest>
#include <QTimer>
#include <QToolTip>

class IndexTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<StartedProgram> m_run;
    TForm1 &form() { return m_run->program.form; }
    TForm2 &detail() { return m_run->program.detail; }
    DBGrid *grid() { return form().findChild<DBGrid *>(QStringLiteral("DBGrid1")); }

    // Double-clicks at a point of the grid's viewport and runs `inside` while
    // the detail window is shown modally; then closes it with its close box.
    void doubleClickAndLook(QPoint at, const std::function<void()> &inside)
    {
        bool looked = false;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(detail().isVisible());
            inside();
            looked = true;
            detail().close();
        });
        // The first click of the pair acts as a single click, as it does for a user.
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(looked);
        QVERIFY(!detail().isVisible());
    }

private slots:
    void init()
    {
        m_run = std::make_unique<StartedProgram>();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }
    void cleanup() { m_run.reset(); }

    void gridListsTheCarriedTitles()
    {
        QVERIFY(grid());
        QCOMPARE(grid()->geometry(), QRect(3, 3, 667, 470));
        QCOMPARE(grid()->rowCount(), 13);
        QCOMPARE(grid()->rowText(0), QStringLiteral("ÉJFÉLKOR"));
        QCOMPARE(grid()->rowText(12), QStringLiteral("A KÉK MADÁR"));
        QCOMPARE(grid()->currentRow(), 0);
    }

    // A double-click on another row opens the detail window on that record,
    // with both picture buttons disabled; the grid follows the navigator
    // behind the modal window and keeps the record last shown.
    void doubleClickOpensTheDetailWindowOnTheClickedRecord()
    {
        const QPoint fourthRow = grid()->gridGeometry().cellRect(3).center();
        doubleClickAndLook(fourthRow, [&] {
            QCOMPARE(form().FDQuery1.fieldText(QStringLiteral("AZ")), QStringLiteral("696"));
            QCOMPARE(detail().Label1->text(), QStringLiteral("[SZÉLCSEND]"));
            QVERIFY(!detail().BitBtn1->isEnabled());
            QVERIFY(!detail().BitBtn2->isEnabled());
            QVERIFY(!form().isEnabled() || QApplication::activeModalWidget() == &detail());
            form().FDQuery1.next();
            QCOMPARE(grid()->currentRow(), 4);
        });
        QCOMPARE(grid()->currentRow(), 4);
        QCOMPARE(form().FDQuery1.fieldText(QStringLiteral("AZ")), QStringLiteral("697"));
    }

    void doubleClickOnTheTitleRowKeepsTheCurrentRecord()
    {
        form().FDQuery1.goToRecord(6);
        const QPoint title(40, grid()->gridGeometry().cellRect(0).top() / 2);
        doubleClickAndLook(title, [&] {
            QCOMPARE(form().FDQuery1.recordNumber(), 6);
        });
    }

    void doubleClickOnAnEmptyResultShowsNothing()
    {
        form().Edit1->setText(QStringLiteral("xyz"));
        form().BitBtn1Click();
        QCOMPARE(grid()->rowCount(), 1);
        doubleClickAndLook(grid()->gridGeometry().cellRect(0).center(), [&] {
            QCOMPARE(detail().Label1->text(), QString());
            QCOMPARE(detail().Memo1->toPlainText(), QString());
        });
    }

    void gridHintGoesToPanel0WithoutTooltip()
    {
        QTest::mouseMove(grid()->viewport(), grid()->gridGeometry().cellRect(2).center());
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Dupla klikk: aktuális tétel megtekintése."));
        QTest::qWait(700);
        QVERIFY(!QToolTip::isVisible());
    }

    void searchLandsWithTheFocusInTheGrid()
    {
        form().Keress1->trigger();
        form().Edit1->setText(QStringLiteral("kék"));
        form().BitBtn1->setFocus();
        QTest::mouseClick(form().BitBtn1, Qt::LeftButton);
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QTRY_VERIFY(grid()->hasFocus());
        QCOMPARE(grid()->rowCount(), 3);
    }
};

VARGORIN_TEST_MAIN(IndexTest)
#include "tst_index.moc"
