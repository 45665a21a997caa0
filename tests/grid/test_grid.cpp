// The title grid on the real store: generated poem databases of 0, 1, 2 and
// 300 records and a copy of the carried one, driven by real key, mouse and
// wheel events and by its real scroll bar, on the offscreen platform.
#include "accessibilityon.h"
#include "gridwindow.h"

#include "look/textmetrics.h"
#include "look/fonts.h"

#include <QAccessible>
#include <QDialog>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

namespace {

constexpr int many = 300;

// What the grid and the record set show, in one line: "#5 -- row 4 top Vers 1"
// is record 5 current with neither marker set ("B-": the begin marker only,
// "-E": the end marker only), the arrow on row 4 and "Vers 1" in the top row.
QString shown(const GridWindow &w)
{
    return QStringLiteral("#%1 %2%3 row %4 top %5")
        .arg(w.records.recordNumber())
        .arg(w.records.bof() ? 'B' : '-')
        .arg(w.records.eof() ? 'E' : '-')
        .arg(w.grid->currentRow())
        .arg(w.grid->rowText(0));
}

QString state(int record, const char *markers, int row, const QString &top)
{
    return QStringLiteral("#%1 %2 row %3 top %4").arg(record).arg(QLatin1String(markers)).arg(row).arg(top);
}

QString vers(int key)
{
    return QStringLiteral("Vers %1").arg(key);
}

// A grid on its window, shown and active, with the keyboard focus and the
// record set open: on `poems` generated records, the carried database or
// records with the given titles.
template <typename Poems>
std::unique_ptr<GridWindow> startGrid(const Poems &poems, bool open = true)
{
    auto w = std::make_unique<GridWindow>(poems);
    w->window.show();
    if (!QTest::qWaitForWindowActive(&w->window))
        qFatal("the test window did not become active");
    w->grid->setFocus();
    if (open)
        w->records.open();
    return w;
}

void pressKeys(GridWindow &w, const QString &keys)
{
    QTest::keySequence(w.window.windowHandle(), QKeySequence::fromString(keys));
}

void sendWheel(QWidget *target, int delta)
{
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}


// The screen pixels wholly inside an area given in the widget's own units,
// at whatever display density the test runs.
QRect devicePixels(const QImage &image, const QRect &area)
{
    const qreal ratio = image.devicePixelRatio();
    const int left = int(std::ceil(area.left() * ratio));
    const int top = int(std::ceil(area.top() * ratio));
    const int right = int(std::floor((area.right() + 1) * ratio));
    const int bottom = int(std::floor((area.bottom() + 1) * ratio));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// What the window really holds on screen where `widget` is, after only the
// parts that changed were painted (and rows moved by pixels).
QImage onScreen(const GridWindow &w, const QWidget *widget)
{
    QCoreApplication::processEvents();
    QImage window = w.window.screen()->grabWindow(w.window.winId()).toImage();
    window.setDevicePixelRatio(w.window.devicePixelRatioF());
    QImage area = window.copy(devicePixels(window, QRect(widget->mapTo(&w.window, QPoint()), widget->size())));
    area.setDevicePixelRatio(window.devicePixelRatio());
    return area.convertToFormat(QImage::Format_RGB32);
}

// The same place on screen once the widget has been painted anew from scratch.
QImage repaintedOnScreen(const GridWindow &w, QWidget *widget)
{
    widget->repaint();
    return onScreen(w, widget);
}

// The grid's cells painted from scratch.
QImage rendered(const GridWindow &w)
{
    return w.grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor colourAt(const QImage &image, QPoint logical)
{
    return image.pixelColor(devicePixels(image, QRect(logical, QSize(1, 1))).topLeft());
}

template <typename Test>
bool anyPixel(const QImage &image, const QRect &logicalArea, Test test)
{
    const QRect area = devicePixels(image, logicalArea);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

bool hasColour(const QImage &image, const QRect &area, const QColor &colour)
{
    return anyPixel(image, area, [&](const QColor &pixel) { return pixel == colour; });
}

bool onlyColour(const QImage &image, const QRect &area, const QColor &colour)
{
    return !anyPixel(image, area, [&](const QColor &pixel) { return pixel != colour; });
}

// Blue ink, antialiased edges included, against the white background.
bool hasBlueInk(const QImage &image, const QRect &area)
{
    return anyPixel(image, area, [](const QColor &pixel) { return pixel.blue() - pixel.red() > 100; });
}

// Presses the left button, moves with it held and lets go.
void drag(QWidget *widget, QPoint from, QPoint to)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

QPoint scrollBarPart(const QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

enum class Spot { Cell, Indicator, Title, Corner, RightOfColumn, BelowRows };

QPoint spotPoint(const GridWindow &w, Spot spot, int row)
{
    const ui::GridGeometry &geometry = w.grid->gridGeometry();
    switch (spot) {
    case Spot::Cell:
        return w.cellCentre(row);
    case Spot::Indicator:
        return geometry.indicatorRect(row).center();
    case Spot::Title:
        return geometry.titleRect().center();
    case Spot::Corner:
        return geometry.cornerRect().center();
    case Spot::RightOfColumn:
        return {geometry.columnEdge() + 8, w.cellCentre(row).y()};
    case Spot::BelowRows:
        return w.cellCentre(w.grid->rowCount() + row);
    }
    return {};
}

// Catches key presses and context menu requests that the grid let through
// to its window. The modifier keys pressed on their own on the way to a chord
// do not count.
class PassedOnWitness final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            presses += key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt;
        }
        menus += event->type() == QEvent::ContextMenu;
        return false;
    }
    int presses = 0;
    int menus = 0;
};

} // namespace

class TestGrid final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void layoutFollowsTheFont();
    void keys_data();
    void keys();
    void keysThatChangeNothing_data();
    void keysThatChangeNothing();
    void clicks_data();
    void clicks();
    void wheel_data();
    void wheel();
    void doubleClick_data();
    void doubleClick();
    void scrollBarPresenceAndRange_data();
    void scrollBarPresenceAndRange();
    void scrollBarFollowsResultsChangedWhileHidden_data();
    void scrollBarFollowsResultsChangedWhileHidden();
    void scrollBarCommands_data();
    void scrollBarCommands();
    void thumbActsOnRelease();
    void followsTheCursorBehindAModalWindow();
    void noContextMenu();
    void blankRow_data();
    void blankRow();
    void followsMovesMadeElsewhere();
    void partialRepaintsMatchAFullRepaint();
    void windowFollowsTheHeight();
    void longTitlesAreClipped();
    void selectionOnlyWithFocus();
    void titleCellLooksPressedWhileHeld();
    void columnEdgeResizes();
    void accessibleTable_data();
    void accessibleTable();
    void accessibleCellsFollowScrollingAndGoOnClose();

private:
    int m_rows = 0; // data rows that fit into the grid at its layout size
};

void TestGrid::initTestCase()
{
    ui::registerLayoutFonts();
    QVERIFY(switchAccessibilityOn());
    m_rows = startGrid(many)->grid->visibleRows();
    QVERIFY(m_rows > 10);
}

void TestGrid::layoutFollowsTheFont()
{
    const auto w = startGrid(many);
    // A line of text (its height checked against the font file in the index
    // page's test) plus 4 px, and a grid line below each row and the title row.
    const int textHeight = ui::textMetrics(w->grid->font()).height();
    QCOMPARE(w->grid->gridGeometry().rowPitch(), textHeight + 5);
    QCOMPARE(w->grid->gridGeometry().rowsTop(), textHeight + 5);
    QCOMPARE(w->grid->gridGeometry().cellRect(0).width(), 625);
    QCOMPARE(w->grid->gridGeometry().indicatorRect(0).width(), 11);
    QCOMPARE(w->grid->gridGeometry().cellRect(0).left(), 12);
}

void TestGrid::keys_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    const int n = m_rows;
    const int last = many - n + 1; // the top record when the last one is at the bottom

    QTest::newRow("Down") << many << "Down" << state(2, "--", 1, vers(1));
    QTest::newRow("Up on the first record after an open") << many << "Up" << state(1, "B-", 0, vers(1));
    QTest::newRow("back to the first by Up") << many << "Down, Up" << state(1, "--", 0, vers(1));
    QTest::newRow("Up on the first record") << many << "Down, Up, Up" << state(1, "B-", 0, vers(1));
    QTest::newRow("Down past the bottom row scrolls one row")
        << many << "Ctrl+Down, Down" << state(n + 1, "--", n - 1, vers(2));
    QTest::newRow("Up past the top row scrolls one row")
        << many << "Ctrl+Down, Down, Ctrl+Up, Up" << state(1, "--", 0, vers(1));
    QTest::newRow("Page Down") << many << "PgDown" << state(n + 1, "--", n - 1, vers(2));
    QTest::newRow("Page Down twice") << many << "PgDown, PgDown" << state(2 * n + 1, "--", n - 1, vers(n + 2));
    QTest::newRow("Page Up") << many << "PgDown, PgDown, PgUp" << state(n + 1, "--", 0, vers(n + 1));
    QTest::newRow("Page Up to the first") << many << "PgDown, PgUp, PgUp" << state(1, "B-", 0, vers(1));
    QTest::newRow("End") << many << "End" << state(many, "-E", n - 1, vers(last));
    QTest::newRow("Ctrl+End") << many << "Ctrl+End" << state(many, "-E", n - 1, vers(last));
    QTest::newRow("Home") << many << "End, Home" << state(1, "B-", 0, vers(1));
    QTest::newRow("Ctrl+Home") << many << "PgDown, Ctrl+Home" << state(1, "B-", 0, vers(1));
    QTest::newRow("Down on the last record") << many << "End, Up, Down, Down" << state(many, "-E", n - 1, vers(last));
    QTest::newRow("Ctrl+Down") << many << "Ctrl+Down" << state(n, "--", n - 1, vers(1));
    QTest::newRow("Ctrl+Page Down") << many << "Down, Ctrl+PgDown" << state(n, "--", n - 1, vers(1));
    QTest::newRow("Ctrl+Up") << many << "PgDown, Ctrl+Up" << state(2, "--", 0, vers(2));
    QTest::newRow("Ctrl+Page Up") << many << "PgDown, Up, Ctrl+PgUp" << state(2, "--", 0, vers(2));
    QTest::newRow("Tab") << many << "Tab, Tab" << state(3, "--", 2, vers(1));
    QTest::newRow("Shift+Tab") << many << "Tab, Tab, Shift+Tab" << state(2, "--", 1, vers(1));
    QTest::newRow("Backtab") << many << "Tab, Backtab" << state(1, "--", 0, vers(1));
    QTest::newRow("Shift+Tab on the first record") << many << "Tab, Backtab, Backtab" << state(1, "B-", 0, vers(1));
    QTest::newRow("Tab on the last record") << many << "End, Up, Down, Tab" << state(many, "-E", n - 1, vers(last));

    QTest::newRow("one record: Down") << 1 << "Down" << state(1, "-E", 0, vers(1));
    QTest::newRow("one record: Ctrl+Down") << 1 << "Ctrl+Down" << state(1, "-E", 0, vers(1));
    QTest::newRow("two records: Ctrl+Down ends on the last") << 2 << "Ctrl+Down" << state(2, "-E", 1, vers(1));
    QTest::newRow("two records: Page Down") << 2 << "PgDown" << state(2, "-E", 1, vers(1));
    QTest::newRow("two records: Page Up") << 2 << "End, PgUp" << state(1, "B-", 0, vers(1));
    QTest::newRow("empty result: Down") << 0 << "Down, End, Tab" << state(0, "BE", 0, QString());

    const QString firstTitle = QStringLiteral("ÉJFÉLKOR");
    QTest::newRow("carried: End") << GridWindow::carried << "End" << state(13, "-E", 12, firstTitle);
    QTest::newRow("carried: Ctrl+Down") << GridWindow::carried << "Ctrl+Down" << state(13, "-E", 12, firstTitle);
    QTest::newRow("carried: Page Down") << GridWindow::carried << "Down, PgDown" << state(13, "-E", 12, firstTitle);
}

void TestGrid::keys()
{
    QFETCH(int, poems);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    const auto w = startGrid(poems);

    pressKeys(*w, keys);

    QCOMPARE(shown(*w), expected);
    QVERIFY2(w->grid->hasFocus(), "no key takes the focus out of the grid");
}

void TestGrid::keysThatChangeNothing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("passedOn");

    for (const char *key : {"Left", "Right", "Ctrl+Left", "Ctrl+Right", "Return", "Enter", "Esc", "Ins",
                            "Ctrl+Del", "Del", "F2", "A", "Shift+Z", "1", "Space"})
        QTest::newRow(key) << QString::fromLatin1(key) << false;
    // The page control switches pages with Ctrl+Tab wherever the focus is inside it.
    QTest::newRow("Ctrl+Tab") << QStringLiteral("Ctrl+Tab") << true;
    QTest::newRow("Ctrl+Shift+Tab") << QStringLiteral("Ctrl+Shift+Tab") << true;
}

void TestGrid::keysThatChangeNothing()
{
    QFETCH(QString, keys);
    QFETCH(bool, passedOn);
    const auto w = startGrid(many);
    pressKeys(*w, QStringLiteral("PgDown, Up"));
    const QString before = shown(*w);
    const QImage picture = rendered(*w);
    QSignalSpy opened(w->grid, &ui::DBGrid::doubleClicked);
    PassedOnWitness witness;
    w->window.installEventFilter(&witness);

    pressKeys(*w, keys);

    QCOMPARE(shown(*w), before);
    QCOMPARE(rendered(*w), picture);
    QCOMPARE(opened.count(), 0);
    QVERIFY(w->grid->hasFocus());
    QCOMPARE(witness.presses > 0, passedOn);
}

void TestGrid::clicks_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<Spot>("spot");
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("expected");
    const int n = m_rows;

    QTest::newRow("left on a cell") << many << "" << Spot::Cell << 5 << Qt::LeftButton << state(6, "--", 5, vers(1));
    QTest::newRow("right on a cell") << many << "" << Spot::Cell << 3 << Qt::RightButton << state(4, "--", 3, vers(1));
    QTest::newRow("middle on an indicator")
        << many << "" << Spot::Indicator << 7 << Qt::MiddleButton << state(8, "--", 7, vers(1));
    QTest::newRow("on the current row")
        << many << "" << Spot::Cell << 0 << Qt::LeftButton << state(1, "B-", 0, vers(1));
    QTest::newRow("upwards after End")
        << many << "End" << Spot::Cell << 0 << Qt::LeftButton << state(many - n + 1, "--", 0, vers(many - n + 1));
    QTest::newRow("on the title") << many << "Down" << Spot::Title << 0 << Qt::LeftButton << state(2, "--", 1, vers(1));
    QTest::newRow("on the corner")
        << many << "Down" << Spot::Corner << 0 << Qt::LeftButton << state(2, "--", 1, vers(1));
    QTest::newRow("right of the column")
        << many << "Down" << Spot::RightOfColumn << 4 << Qt::LeftButton << state(2, "--", 1, vers(1));
    QTest::newRow("below the rows") << 2 << "" << Spot::BelowRows << 2 << Qt::LeftButton << state(1, "B-", 0, vers(1));
    QTest::newRow("the blank row") << 0 << "" << Spot::Cell << 0 << Qt::LeftButton << state(0, "BE", 0, QString());
}

void TestGrid::clicks()
{
    QFETCH(int, poems);
    QFETCH(QString, keys);
    QFETCH(Spot, spot);
    QFETCH(int, row);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, expected);
    const auto w = startGrid(poems);
    pressKeys(*w, keys);
    w->other->setFocus();

    QTest::mouseClick(w->window.windowHandle(), button, {}, w->inWindow(spotPoint(*w, spot, row)));

    QCOMPARE(shown(*w), expected);
    QVERIFY2(w->grid->hasFocus(), "every press takes the focus into the grid");
}

void TestGrid::wheel_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<bool>("overScrollBar");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a notch towards the user") << many << "" << QList<int>{-120} << false << state(2, "--", 1, vers(1));
    QTest::newRow("two notches at once") << many << "" << QList<int>{-240} << false << state(3, "--", 2, vers(1));
    QTest::newRow("half notches add up")
        << many << "" << QList<int>{-60, -60, -60} << false << state(2, "--", 1, vers(1));
    QTest::newRow("a notch away from the user")
        << many << "Down, Down" << QList<int>{120} << false << state(2, "--", 1, vers(1));
    QTest::newRow("away on the first record") << many << "" << QList<int>{120} << false << state(1, "B-", 0, vers(1));
    QTest::newRow("towards on the last record")
        << many << "End, Up, Down" << QList<int>{-120}
        << false << state(many, "-E", m_rows - 1, vers(many - m_rows + 1));
    QTest::newRow("over the scroll bar") << many << "" << QList<int>{-120} << true << state(2, "--", 1, vers(1));
    QTest::newRow("one record") << 1 << "" << QList<int>{-120} << false << state(1, "-E", 0, vers(1));
}

void TestGrid::wheel()
{
    QFETCH(int, poems);
    QFETCH(QString, keys);
    QFETCH(QList<int>, deltas);
    QFETCH(bool, overScrollBar);
    QFETCH(QString, expected);
    const auto w = startGrid(poems);
    pressKeys(*w, keys);

    for (int delta : deltas)
        sendWheel(overScrollBar ? static_cast<QWidget *>(w->grid->verticalScrollBar()) : w->grid->viewport(), delta);

    QCOMPARE(shown(*w), expected);
}

void TestGrid::doubleClick_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<Spot>("spot");
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("opens");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a row that is not current")
        << many << false << Spot::Cell << 4 << Qt::LeftButton << 1 << state(5, "--", 4, vers(1));
    QTest::newRow("the title")
        << many << false << Spot::Title << 0 << Qt::LeftButton << 1 << state(1, "B-", 0, vers(1));
    QTest::newRow("the indicator of the current row")
        << many << false << Spot::Indicator << 0 << Qt::LeftButton << 1 << state(1, "B-", 0, vers(1));
    QTest::newRow("below the last row")
        << 2 << false << Spot::BelowRows << 3 << Qt::LeftButton << 1 << state(1, "B-", 0, vers(1));
    QTest::newRow("right of the column")
        << 2 << false << Spot::RightOfColumn << 0 << Qt::LeftButton << 1 << state(1, "B-", 0, vers(1));
    QTest::newRow("an empty result")
        << 0 << false << Spot::Cell << 0 << Qt::LeftButton << 1 << state(0, "BE", 0, QString());
    QTest::newRow("a closed record set")
        << many << true << Spot::Cell << 0 << Qt::LeftButton << 1 << state(0, "BE", -1, QString());
    QTest::newRow("right button")
        << many << false << Spot::Cell << 4 << Qt::RightButton << 0 << state(5, "--", 4, vers(1));
}

void TestGrid::doubleClick()
{
    QFETCH(int, poems);
    QFETCH(bool, closed);
    QFETCH(Spot, spot);
    QFETCH(int, row);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, opens);
    QFETCH(QString, expected);
    const auto w = startGrid(poems, !closed);
    QSignalSpy opened(w->grid, &ui::DBGrid::doubleClicked);

    QTest::mouseDClick(w->window.windowHandle(), button, {}, w->inWindow(spotPoint(*w, spot, row)));

    QCOMPARE(opened.count(), opens);
    QCOMPARE(shown(*w), expected);
}

void TestGrid::scrollBarPresenceAndRange_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("maximum"); // 0: no bar
    QTest::addColumn<int>("value");

    QTest::newRow("empty result") << 0 << "" << false << 0 << 0;
    QTest::newRow("one record") << 1 << "" << false << 0 << 0;
    QTest::newRow("two records") << 2 << "" << false << 2 << 1;
    QTest::newRow("two records, on the second") << 2 << "Down" << false << 2 << 2;
    QTest::newRow("carried") << GridWindow::carried << "Down, Down" << false << 13 << 3;
    QTest::newRow("many") << many << "PgDown" << false << many << m_rows + 1;
    QTest::newRow("many, at the end") << many << "End" << false << many << many;
    QTest::newRow("closed") << many << "" << true << 0 << 0;
}

void TestGrid::scrollBarPresenceAndRange()
{
    QFETCH(int, poems);
    QFETCH(QString, keys);
    QFETCH(bool, closed);
    QFETCH(int, maximum);
    QFETCH(int, value);
    const auto w = startGrid(poems);
    pressKeys(*w, keys);
    if (closed)
        w->records.close();

    // A closed result takes the bar away once nothing reopens it in the same turn.
    const QScrollBar *bar = w->grid->verticalScrollBar();
    QTRY_COMPARE(bar->isVisible(), maximum > 0);
    if (maximum == 0)
        return;
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), maximum);
    QCOMPARE(bar->pageStep(), m_rows);
    QCOMPARE(bar->value(), value);
}

// A search runs while the grid's page is hidden; the bar must match the new
// result when the page comes back, in both directions.
void TestGrid::scrollBarFollowsResultsChangedWhileHidden_data()
{
    QTest::addColumn<int>("before"); // records in the result shown first
    QTest::addColumn<int>("after");  // records in the result opened while hidden

    QTest::newRow("many to none") << many << 0;
    QTest::newRow("many to one") << many << 1;
    QTest::newRow("many to two") << many << 2;
    QTest::newRow("one to many") << 1 << many;
    QTest::newRow("none to two") << 0 << 2;
}

void TestGrid::scrollBarFollowsResultsChangedWhileHidden()
{
    QFETCH(int, before);
    QFETCH(int, after);
    const auto w = startGrid(many, false);
    const auto reopen = [&](int records) {
        w->records.close();
        w->records.clearSql();
        w->records.addSql(QStringLiteral("Select * from tbl_Data where AZ <= %1").arg(records));
        w->records.open();
    };
    reopen(before);
    QCOMPARE(w->grid->verticalScrollBar()->isVisible(), before > 1);

    w->grid->hide();
    reopen(after);
    w->grid->show();

    const QScrollBar *bar = w->grid->verticalScrollBar();
    QCOMPARE(bar->isVisible(), after > 1);
    if (after > 1) {
        QCOMPARE(bar->maximum(), after);
        QCOMPARE(bar->value(), 1);
        QCOMPARE(bar->pageStep(), m_rows);
        QVERIFY(w->grid->viewport()->width() < w->grid->width() - bar->width());
    } else {
        QVERIFY(w->grid->viewport()->width() > w->grid->width() - bar->width());
    }
}

void TestGrid::scrollBarCommands_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("part"); // a part of the bar to click, or else a command of its menu
    QTest::addColumn<QString>("expected");
    const int n = m_rows;
    const int lineUp = QStyle::SC_ScrollBarSubLine, lineDown = QStyle::SC_ScrollBarAddLine;
    const int pageUp = QStyle::SC_ScrollBarSubPage, pageDown = QStyle::SC_ScrollBarAddPage;
    const int top = -QAbstractSlider::SliderToMinimum, bottom = -QAbstractSlider::SliderToMaximum;

    QTest::newRow("line down: the record below the last row")
        << many << "" << lineDown << state(n + 1, "--", n - 1, vers(2));
    QTest::newRow("line down from the middle")
        << many << "Down, Down" << lineDown << state(n + 1, "--", n - 1, vers(2));
    QTest::newRow("line down at the end")
        << many << "End, Up, Down" << lineDown << state(many, "-E", n - 1, vers(many - n + 1));
    QTest::newRow("line down, two records") << 2 << "" << lineDown << state(2, "-E", 1, vers(1));
    QTest::newRow("line up: the record above the top row")
        << many << "End" << lineUp << state(many - n, "--", 0, vers(many - n));
    QTest::newRow("line up on the first record") << many << "" << lineUp << state(1, "B-", 0, vers(1));
    QTest::newRow("track below the thumb") << many << "" << pageDown << state(n + 1, "--", n - 1, vers(2));
    QTest::newRow("track above the thumb") << many << "End" << pageUp << state(many - n, "--", 0, vers(many - n));
    QTest::newRow("menu: bottom") << many << "" << bottom << state(many, "-E", n - 1, vers(many - n + 1));
    QTest::newRow("menu: top") << many << "End" << top << state(1, "B-", 0, vers(1));
}

void TestGrid::scrollBarCommands()
{
    QFETCH(int, poems);
    QFETCH(QString, keys);
    QFETCH(int, part);
    QFETCH(QString, expected);
    const auto w = startGrid(poems);
    pressKeys(*w, keys);
    QScrollBar *bar = w->grid->verticalScrollBar();

    if (part > 0)
        QTest::mouseClick(bar, Qt::LeftButton, {}, scrollBarPart(bar, QStyle::SubControl(part)));
    else
        bar->triggerAction(QAbstractSlider::SliderAction(-part));

    QCOMPARE(shown(*w), expected);
    QCOMPARE(bar->value(), w->records.recordNumber());
}

void TestGrid::thumbActsOnRelease()
{
    const auto w = startGrid(many);
    QScrollBar *bar = w->grid->verticalScrollBar();
    const QPoint thumb = scrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    const QPoint middle(thumb.x(), bar->height() / 2);
    const QPoint bottom(thumb.x(), bar->height() + 50);

    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, middle);
    const int position = bar->value();
    QVERIFY(position > 1 && position < many);
    QCOMPARE(shown(*w), state(1, "B-", 0, vers(1))); // dragging alone moves nothing
    QTest::mouseRelease(bar, Qt::LeftButton, {}, middle);
    QCOMPARE(w->records.recordNumber(), position);
    QCOMPARE(w->grid->rowText(w->grid->currentRow()), vers(position));

    // Released at the bottom of the track: the last record; at the top: the first.
    drag(bar, scrollBarPart(bar, QStyle::SC_ScrollBarSlider), bottom);
    QCOMPARE(shown(*w), state(many, "-E", m_rows - 1, vers(many - m_rows + 1)));
    drag(bar, scrollBarPart(bar, QStyle::SC_ScrollBarSlider), QPoint(thumb.x(), -50));
    QCOMPARE(shown(*w), state(1, "B-", 0, vers(1)));

    // The bar's "Scroll here" places the thumb without dragging: that record at once.
    bar->setValue(150);
    QCOMPARE(w->records.recordNumber(), 150);
    QCOMPARE(w->grid->rowText(w->grid->currentRow()), vers(150));
}

void TestGrid::followsTheCursorBehindAModalWindow()
{
    const auto w = startGrid(many);
    QDialog detail(&w->window);
    QObject::connect(w->grid, &ui::DBGrid::doubleClicked, &detail, &QDialog::exec);
    QString behind;
    bool selectedBehind = true;
    // What the detail window's "next record" button does while it is open.
    QTimer::singleShot(0, &detail, [&] {
        w->records.moveBy(w->grid->visibleRows());
        QCoreApplication::processEvents();
        behind = shown(*w);
        const QRect cell = w->grid->gridGeometry().cellRect(w->grid->currentRow());
        selectedBehind = colourAt(onScreen(*w, w->grid->viewport()), cell.topRight() + QPoint(-20, 5))
            == w->grid->palette().color(QPalette::Highlight);
        detail.reject();
    });

    QTest::mouseDClick(w->window.windowHandle(), Qt::LeftButton, {}, w->inWindow(w->cellCentre(3)));

    QCOMPARE(behind, state(m_rows + 4, "--", m_rows - 1, vers(5)));
    QVERIFY2(!selectedBehind, "without the focus the arrow alone marks the current record");
    QCOMPARE(shown(*w), behind);
}

void TestGrid::noContextMenu()
{
    const auto w = startGrid(many);
    PassedOnWitness witness;
    w->window.installEventFilter(&witness);
    const QPoint at = w->cellCentre(2);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, w->grid->viewport()->mapToGlobal(at));

    QApplication::sendEvent(w->grid->viewport(), &menu);

    QVERIFY(menu.isAccepted());
    QCOMPARE(witness.menus, 0);
}

void TestGrid::blankRow_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("arrow");

    QTest::newRow("empty result") << 0 << false << true;
    QTest::newRow("closed record set") << many << true << false;
    QTest::newRow("never opened") << many << false << false;
}

void TestGrid::blankRow()
{
    QFETCH(int, poems);
    QFETCH(bool, closed);
    QFETCH(bool, arrow);
    const bool open = poems == 0 || closed;
    const auto w = startGrid(poems, open);
    if (closed)
        w->records.close();

    QCOMPARE(w->grid->rowCount(), 1);
    QCOMPARE(w->grid->rowText(0), QString());
    QCOMPARE(w->grid->currentRow(), arrow ? 0 : -1);
    const QImage picture = rendered(*w);
    const ui::GridGeometry &geometry = w->grid->gridGeometry();
    QCOMPARE(hasColour(picture, geometry.indicatorRect(0), Qt::black), arrow);
    // The blank row has no record: no text and no selection, even with the focus.
    const QColor base = w->grid->palette().color(QPalette::Base);
    QVERIFY(w->grid->hasFocus());
    QVERIFY(onlyColour(picture, geometry.cellRect(0).adjusted(1, 1, -1, -1), base));
    const int below = geometry.rowTop(1);
    QVERIFY(onlyColour(picture, QRect(0, below, w->grid->viewport()->width(), w->grid->viewport()->height() - below), base));
}

void TestGrid::followsMovesMadeElsewhere()
{
    const auto w = startGrid(many);
    const QScrollBar *bar = w->grid->verticalScrollBar();
    // What the detail window's navigation and the search do to the shared cursor.
    const std::vector<std::pair<const char *, std::function<void(store::RecordSet &)>>> moves = {
        {"go to 150", [](store::RecordSet &r) { r.goToRecord(150); }},
        {"next", [](store::RecordSet &r) { r.next(); }},
        {"last", [](store::RecordSet &r) { r.last(); }},
        {"prior", [](store::RecordSet &r) { r.prior(); }},
        {"first", [](store::RecordSet &r) { r.first(); }},
        {"reopen", [](store::RecordSet &r) { r.close(), r.open(); }},
        {"back by 40", [](store::RecordSet &r) { r.moveBy(60), r.moveBy(-40); }},
    };
    for (const auto &[name, move] : moves) {
        move(w->records);
        const int current = w->grid->currentRow();
        QVERIFY2(current >= 0 && current < m_rows, name);
        QVERIFY2(w->grid->rowText(current) == vers(w->records.recordNumber()), name);
        QVERIFY2(bar->value() == w->records.recordNumber(), name);
        QVERIFY2(w->grid->rowCount() == m_rows, name);
    }
}

void TestGrid::partialRepaintsMatchAFullRepaint()
{
    const auto w = startGrid(many);
    const QStringList journeys = {"Ctrl+Down, Down, Down", "Down, Tab, Tab", "Ctrl+Up, Up, Up", "PgDown, Down",
                                  "PgUp, Up", "End, Up, Up", "Home, Down", "Up"};
    for (const QString &keys : journeys) {
        pressKeys(*w, keys);
        QVERIFY2(onScreen(*w, w->grid) == repaintedOnScreen(*w, w->grid), qPrintable(keys));
    }
    for (int delta : {-120, -120, 360, 120}) {
        sendWheel(w->grid->viewport(), delta);
        QCOMPARE(onScreen(*w, w->grid), repaintedOnScreen(*w, w->grid));
    }
}

void TestGrid::windowFollowsTheHeight()
{
    const auto w = startGrid(many);
    pressKeys(*w, QStringLiteral("PgDown, PgDown"));
    const int record = w->records.recordNumber();
    for (int height : {200, 151, 470, 40}) {
        w->grid->resize(667, height);
        const int rows = w->grid->visibleRows();
        const int viewportHeight = w->grid->viewport()->height();
        const ui::GridGeometry &geometry = w->grid->gridGeometry();
        QVERIFY(geometry.rowTop(rows) <= viewportHeight || rows == 1);
        QVERIFY(geometry.rowTop(rows + 1) > viewportHeight);
        QCOMPARE(w->records.windowCount(), rows);
        QCOMPARE(w->grid->rowCount(), rows);
        QCOMPARE(w->grid->verticalScrollBar()->pageStep(), rows);
        QCOMPARE(w->records.recordNumber(), record);
        QCOMPARE(w->grid->rowText(w->grid->currentRow()), vers(record));
    }
}

void TestGrid::longTitlesAreClipped()
{
    const auto w = startGrid(QStringList{QStringLiteral("rövid"), QString(200, u'W')});

    const QImage picture = rendered(*w);
    const ui::GridGeometry &geometry = w->grid->gridGeometry();
    const QRect cell = geometry.cellRect(1);
    const QColor blue = w->grid->palette().color(QPalette::Text);
    QCOMPARE(blue, QColor(Qt::blue));
    // Right of the column's line: only the empty background.
    const int edge = geometry.columnEdge();
    const QRect beyond(edge + 1, cell.top(), w->grid->viewport()->width() - edge - 1, cell.height());
    QVERIFY(onlyColour(picture, beyond, w->grid->palette().color(QPalette::Base)));
    // The letters run up to the edge, upper halves included: no ellipsis there.
    const QRect lastLetters(cell.right() - 5, cell.top() + 2, 6, cell.height() / 2 - 2);
    QVERIFY(hasBlueInk(picture, lastLetters));
    // One line only: nothing is written into the row below.
    QVERIFY(onlyColour(picture, geometry.cellRect(2), w->grid->palette().color(QPalette::Base)));
}

void TestGrid::selectionOnlyWithFocus()
{
    const auto w = startGrid(many);
    pressKeys(*w, QStringLiteral("Down"));
    const ui::GridGeometry &geometry = w->grid->gridGeometry();
    const QPoint inCell(geometry.cellRect(1).right() - 20, geometry.cellRect(1).center().y());
    const QPalette colours = w->grid->palette();

    QCOMPARE(colourAt(rendered(*w), inCell), colours.color(QPalette::Highlight));
    QVERIFY(hasColour(rendered(*w), geometry.indicatorRect(1), Qt::black));

    w->other->setFocus();
    const QImage unfocused = rendered(*w);
    QCOMPARE(colourAt(unfocused, inCell), colours.color(QPalette::Base));
    QVERIFY(hasColour(unfocused, geometry.indicatorRect(1), Qt::black));
    QVERIFY(!hasColour(unfocused, geometry.indicatorRect(0), Qt::black));
    QCOMPARE(onScreen(*w, w->grid->viewport()), repaintedOnScreen(*w, w->grid->viewport()));
}

void TestGrid::titleCellLooksPressedWhileHeld()
{
    const auto w = startGrid(many);
    pressKeys(*w, QStringLiteral("Down"));
    const QRect title = w->grid->gridGeometry().titleRect();
    QWidget *viewport = w->grid->viewport();
    const QImage normal = rendered(*w).copy(title);

    QTest::mousePress(viewport, Qt::LeftButton, {}, title.center());
    QVERIFY(rendered(*w).copy(title) != normal);
    QTest::mouseMove(viewport, w->cellCentre(5)); // dragged off the title: no longer pressed
    QCOMPARE(rendered(*w).copy(title), normal);
    QTest::mouseMove(viewport, title.center() + QPoint(30, 0)); // dragging sideways changes nothing
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, title.center() + QPoint(30, 0));

    QCOMPARE(rendered(*w).copy(title), normal);
    QCOMPARE(w->grid->gridGeometry().columnWidth(), 625);
    QCOMPARE(shown(*w), state(2, "--", 1, vers(1)));
}

void TestGrid::columnEdgeResizes()
{
    const auto w = startGrid(QStringList{QString(200, u'W'), QStringLiteral("rövid")});
    QWidget *viewport = w->grid->viewport();
    const int y = w->grid->gridGeometry().titleRect().center().y();
    const int edge = w->grid->gridGeometry().columnEdge();

    drag(viewport, QPoint(edge + 1, y), QPoint(edge - 199, y));
    QCOMPARE(w->grid->gridGeometry().columnWidth(), 425);
    const QImage narrow = rendered(*w);
    const QRect cell = w->grid->gridGeometry().cellRect(0);
    QVERIFY(onlyColour(narrow, QRect(cell.right() + 2, cell.top(), 100, cell.height()),
                       w->grid->palette().color(QPalette::Base)));
    QVERIFY(!w->grid->horizontalScrollBar()->isVisible());

    drag(viewport, QPoint(w->grid->gridGeometry().columnEdge(), y), QPoint(viewport->width() + 40, y));
    QVERIFY(w->grid->gridGeometry().columnWidth() > viewport->width());
    QTRY_VERIFY(w->grid->horizontalScrollBar()->isVisible());
    QCOMPARE(w->records.recordNumber(), 1); // resizing moves no record
}

void TestGrid::accessibleTable_data()
{
    QTest::addColumn<int>("poems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current"); // -1: no row selected
    QTest::addColumn<QString>("currentName");

    QTest::newRow("after the open") << many << "" << false << m_rows << 0 << vers(1);
    QTest::newRow("moved down") << many << "Down, Down" << false << m_rows << 2 << vers(3);
    QTest::newRow("at the end") << many << "End" << false << m_rows << m_rows - 1 << vers(many);
    QTest::newRow("two records") << 2 << "Down" << false << 2 << 1 << vers(2);
    QTest::newRow("carried") << GridWindow::carried << "" << false << 13 << 0 << QStringLiteral("ÉJFÉLKOR");
    QTest::newRow("empty result") << 0 << "" << false << 1 << 0 << QString();
    QTest::newRow("closed") << many << "" << true << 1 << -1 << QString();
}

void TestGrid::accessibleTable()
{
    QFETCH(int, poems);
    QFETCH(QString, keys);
    QFETCH(bool, closed);
    QFETCH(int, rows);
    QFETCH(int, current);
    QFETCH(QString, currentName);
    const auto w = startGrid(poems);
    pressKeys(*w, keys);
    if (closed)
        w->records.close();

    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(w->grid);
    QVERIFY(grid);
    QCOMPARE(grid->role(), QAccessible::Table);
    QAccessibleTableInterface *table = grid->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 1);
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(grid->childCount(), rows + 1);
    QCOMPARE(grid->child(0)->role(), QAccessible::ColumnHeader);
    QCOMPARE(grid->child(0)->text(QAccessible::Name), QStringLiteral("Cím"));
    QCOMPARE(table->selectedRows(), current < 0 ? QList<int>() : QList<int>{current});
    for (int row = 0; row < rows; ++row) {
        QAccessibleInterface *cell = table->cellAt(row, 0);
        QCOMPARE(cell->role(), QAccessible::Cell);
        QCOMPARE(cell->text(QAccessible::Name), w->grid->rowText(row));
        QCOMPARE(grid->indexOfChild(cell), row + 1);
        QCOMPARE(cell->state().selected, row == current);
        QCOMPARE(cell->state().focused, row == current);
        QCOMPARE(cell->tableCellInterface()->rowIndex(), row);
        QVERIFY(grid->rect().contains(cell->rect()));
    }
    if (current >= 0) {
        QCOMPARE(table->cellAt(current, 0)->text(QAccessible::Name), currentName);
        QCOMPARE(grid->focusChild(), table->cellAt(current, 0));
        const QPoint centre = table->cellAt(current, 0)->rect().center();
        QCOMPARE(grid->childAt(centre.x(), centre.y()), table->cellAt(current, 0));
    }
    // Asked past the rows (a screen reader's index from before a change), it still answers.
    QVERIFY(grid->focusChild());
    QVERIFY(grid->child(rows + 5));
    QVERIFY(table->cellAt(rows + 5, 0));
}

void TestGrid::accessibleCellsFollowScrollingAndGoOnClose()
{
    const auto w = startGrid(many);
    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(w->grid)->tableInterface();
    QAccessibleInterface *top = table->cellAt(0, 0);
    const QAccessible::Id topId = QAccessible::uniqueId(top);
    QCOMPARE(top->text(QAccessible::Name), vers(1));

    pressKeys(*w, QStringLiteral("PgDown"));
    QCOMPARE(table->cellAt(0, 0), top); // the same object, now showing the next record
    QCOMPARE(top->text(QAccessible::Name), vers(2));
    QVERIFY(table->cellAt(m_rows - 1, 0)->state().selected);

    const QAccessible::Id lastId = QAccessible::uniqueId(table->cellAt(m_rows - 1, 0));
    w->grid->resize(667, 200); // fewer rows: the cells past them go
    QVERIFY(!QAccessible::accessibleInterface(lastId));
    QCOMPARE(table->rowCount(), w->grid->visibleRows());

    w->records.close();
    QVERIFY(!QAccessible::accessibleInterface(topId));
    QCOMPARE(table->rowCount(), 1);
    QVERIFY(table->cellAt(0, 0)->isValid());
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QString());
}

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
