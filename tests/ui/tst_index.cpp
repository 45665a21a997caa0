// The title index inside the main window: the grid with the detail window
// in front of it, its hint, and the focus when a search lands on it.
#include "widgets/dbgrid.h"
#include "program.h"
#include "testmain.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <QTimer>
#include <QToolTip>

namespace {

struct Line {
    int ascent;
    int descent;
};

// A line of text in the layouts' units, read from the bundled Tahoma file
// itself: its OS/2 usWinAscent and usWinDescent at a pixel size, each rounded.
Line windowsLine(int pixelSize)
{
    QFile file(QStringLiteral(VARGORIN_HOST_ROOT "/usr/share/wine/fonts/tahoma.ttf"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the bundled Tahoma is missing");
    const QByteArray font = file.readAll();
    const auto u16 = [&](qsizetype at) { return qFromBigEndian<quint16>(font.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromBigEndian<quint32>(font.constData() + at); };
    QHash<QByteArray, qsizetype> tables;
    for (int i = 0; i < u16(4); ++i)
        tables.insert(font.mid(12 + 16 * i, 4), u32(12 + 16 * i + 8));
    const double unitsPerEm = u16(tables.value("head") + 18);
    const auto pixels = [&](int units) { return int(std::lround(units * pixelSize / unitsPerEm)); };
    return {pixels(u16(tables.value("OS/2") + 74)), pixels(u16(tables.value("OS/2") + 76))};
}

} // namespace

class IndexTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<StartedProgram> m_run;
    TForm1 &form() { return m_run->program.form; }
    TForm2 &detail() { return m_run->program.detail; }
    ui::DBGrid *grid() { return form().findChild<ui::DBGrid *>(QStringLiteral("DBGrid1")); }

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

    // Every height the layout takes from a line of text uses the font's
    // Windows metrics (13 px at 11 px), and no accented capital touches the
    // line above its row.
    void textHeightsFollowTheFontsWindowsMetrics()
    {
        const int line = windowsLine(11).ascent + windowsLine(11).descent;
        QCOMPARE(line, 13);
        QCOMPARE(grid()->gridGeometry().rowPitch(), line + 4 + 1);
        QCOMPARE(grid()->gridGeometry().titleHeight(), line + 4);
        QCOMPARE(form().Label10->height(), line);
        QCOMPARE(form().Label12->height(), line);
        // The search page's labels are as wide as their texts once shown.
        form().PageControl1->setCurrentIndex(1);
        for (const QLabel *label : {form().Label10, form().Label11, form().Label12})
            QCOMPARE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        form().PageControl1->setCurrentIndex(0);
        // The detail window sets its title's margin when it is first shown.
        TForm2 &detail = m_run->program.detail;
        detail.show();
        QCOMPARE(detail.Label1->contentsMargins().top(),
                 windowsLine(16).ascent - QFontMetrics(detail.Label1->font()).ascent());
        detail.hide();

        const QImage shown = grid()->viewport()->grab().toImage();
        const QColor text = grid()->palette().color(QPalette::Text);
        const ui::GridGeometry &geometry = grid()->gridGeometry();
        for (int row = 0; row < grid()->rowCount(); ++row) {
            const QRect cell = geometry.cellRect(row);
            for (int x = cell.left(); x <= cell.right(); ++x) {
                QVERIFY2(shown.pixelColor(x, cell.top()) != text,
                         qPrintable(QStringLiteral("row %1 touches the line above at x %2").arg(row).arg(x)));
            }
        }
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
