// Repaint cost of the title grid on a 20,000-record result against a bare
// painted list of the same rows, measured alternately in one run: a one-row
// scroll (Down on the bottom row) and Page Down through the whole result.
// A step is a key press and the painting it causes. All rows are read into
// the record set before measuring, so the engine's batches are not counted.
// Prints medians, the area painted per step and the ratios; asserts nothing.
#include "barelist.h"
#include "benchtable.h"
#include "gridwindow.h"
#include "readerapplication.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int poems = 20000;
constexpr int rounds = 7;
constexpr int scrollSteps = 2000;

// Adds up the pixels a widget is asked to paint.
class PaintMeter final : public QObject {
public:
    explicit PaintMeter(QWidget *widget) { widget->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect &rect : static_cast<QPaintEvent *>(event)->region())
                pixels += qint64(rect.width()) * rect.height();
        }
        return false;
    }

    qint64 pixels = 0;
};

struct Pass {
    double microseconds; // per step
    double pixels;       // painted per step
};

Pass measure(QWidget *target, QWidget *painted, Qt::Key key, int steps, const std::function<void()> &start)
{
    start();
    QCoreApplication::processEvents();
    PaintMeter meter(painted);
    QElapsedTimer timer;
    timer.start();
    for (int step = 0; step < steps; ++step) {
        QTest::keyClick(target, key);
        QCoreApplication::processEvents(); // the paint that the key caused
    }
    return {double(timer.nsecsElapsed()) / 1000.0 / steps, double(meter.pixels) / steps};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void compare(const char *what, int steps, Qt::Key key, GridWindow &grid, BareList &list,
             const std::function<void()> &gridStart)
{
    std::vector<double> gridTimes, listTimes;
    Pass gridPass{}, listPass{};
    for (int round = 0; round < rounds; ++round) {
        gridPass = measure(grid.grid, grid.grid->viewport(), key, steps, gridStart);
        listPass = measure(&list, &list, key, steps, [&] { list.home(); });
        gridTimes.push_back(gridPass.microseconds);
        listTimes.push_back(listPass.microseconds);
    }
    const double gridTime = median(gridTimes), listTime = median(listTimes);
    std::printf("%s, %d steps: grid %.1f us, bare list %.1f us per step; ratio %.2f (goal <= 1.50)\n", what, steps,
                gridTime, listTime, gridTime / listTime);
    std::printf("    painted per step in the rows area: grid %.0f px, bare list %.0f px\n", gridPass.pixels,
                listPass.pixels);
    benchtable::ratioRow((std::string("title grid: ") + what).c_str(), gridTime, listTime, "us", 1.5);
}

} // namespace

int main(int argc, char *argv[])
{
    ReaderApplication application(argc, argv);

    GridWindow grid(poems);
    grid.window.show();
    if (!QTest::qWaitForWindowExposed(&grid.window))
        return 1;
    grid.grid->setFocus();
    grid.records.open();
    grid.records.last(); // every row in memory from here on
    grid.records.first();

    QWidget listWindow;
    listWindow.resize(grid.grid->viewport()->size());
    listWindow.setFont(grid.window.font());
    BareList list(grid.grid->gridGeometry().rowPitch(), &listWindow);
    QStringList titles;
    for (int key = 1; key <= poems; ++key)
        titles.append(QStringLiteral("Vers %1").arg(key));
    list.setTitles(titles);
    list.resize(listWindow.size());
    listWindow.show();
    if (!QTest::qWaitForWindowExposed(&listWindow))
        return 1;

    const int rows = grid.grid->visibleRows();
    std::printf("%d records, %d rows shown, Qt platform %s\n", poems, rows,
                qPrintable(QGuiApplication::platformName()));
    compare("one-row scroll (Down on the bottom row)", scrollSteps, Qt::Key_Down, grid, list, [&] {
        grid.records.first();
        QTest::keyClick(grid.grid, Qt::Key_Down, Qt::ControlModifier);
    });
    compare("Page Down through the result", poems / rows - 1, Qt::Key_PageDown, grid, list,
            [&] { grid.records.first(); });
    return 0;
}
