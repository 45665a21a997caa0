// Prints what the record set costs on a generated corpus of 20,000 poems as
// ratios against the 13 carried poems, all measured in this run. Opening and
// showing the first window should not depend on the corpus size, since rows
// are read only as far as the views need them; memory should follow the rows
// read, not the corpus. The carried poems include one of 230,633 characters,
// which the open reads with the rest, so short generated corpora of 13 and
// 1,000 poems are measured too: against them the corpus size alone shows.

#include "benchtable.h"
#include "connection.h"
#include "poemfixture.h"
#include "recordset.h"
#include "statementtrace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int windowRows = 30; // about what the title grid shows
constexpr int walkMoves = 1000;
constexpr int runs = 101;
constexpr double openGoal = 1.5;

struct Figures {
    double openMicros = 0;
    double countMicros = 0;
    double walkMicros = 0;
    double rowsReadByOpen = 0;
    double heapAfterOpen = 0;
    double heapAfterWalk = 0;
};

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

// The median time of `measured`, each run prepared by `before` and cleaned up by `after`, untimed.
double medianMicros(const std::function<void()> &before, const std::function<void()> &measured,
                    const std::function<void()> &after)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        before();
        QElapsedTimer clock;
        clock.start();
        measured();
        times.push_back(double(clock.nsecsElapsed()) / 1000.0);
        after();
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

// What the title grid does when the record set opens: read the titles of the window.
void readWindow(const store::RecordSet &records)
{
    for (int row = 0; row < records.windowCount(); ++row)
        (void)records.windowText(row, QStringLiteral("CIM"));
}

// Moves back and forth between the ends, reading the current title at each stop.
void walk(store::RecordSet &records)
{
    int direction = 1;
    for (int move = 0; move < walkMoves; ++move) {
        if (records.moveBy(direction) == 0) {
            direction = -direction;
            records.moveBy(direction);
        }
        (void)records.fieldText(QStringLiteral("CIM"));
    }
}

Figures measure(const QString &database)
{
    store::Connection connection;
    connection.setDatabase(database);
    connection.open();
    store::RecordSet records(connection);
    const int view = 0;
    records.setWindowSize(&view, windowRows);
    const auto close = [&] { records.close(); };
    const auto open = [&] { records.open(); };

    Figures figures;
    // A new statement text each time, as a search makes it: prepared anew.
    figures.openMicros = medianMicros(
        [&] {
            records.clearSql();
            records.addSql(QString::fromLatin1(store::RecordSet::baseQuery));
        },
        [&] {
            records.open();
            readWindow(records);
        },
        close);
    figures.countMicros = medianMicros(open, [&] { records.recordCount(); }, close);
    figures.walkMicros = medianMicros(open, [&] { walk(records); }, close);

    const double heapBefore = double(heapInUse());
    {
        StatementTrace trace(connection.handle());
        records.open();
        figures.rowsReadByOpen = trace.rowsOf(store::RecordSet::baseQuery);
    }
    figures.heapAfterOpen = double(heapInUse()) - heapBefore;
    walk(records);
    figures.heapAfterWalk = double(heapInUse()) - heapBefore;
    return figures;
}

void printFigures(const char *corpus, const Figures &figures)
{
    std::printf("%-16s %11.1f us %8.1f us %9.1f us %6.0f %10.1f KiB %9.1f KiB\n", corpus, figures.openMicros,
                figures.countMicros, figures.walkMicros, figures.rowsReadByOpen, figures.heapAfterOpen / 1024,
                figures.heapAfterWalk / 1024);
}

void printRatios(const char *against, const Figures &large, const Figures &base)
{
    std::printf("%-16s %14.2f %11.2f %12.2f %6.2f %14.2f %13.2f\n", against, large.openMicros / base.openMicros,
                large.countMicros / base.countMicros, large.walkMicros / base.walkMicros,
                large.rowsReadByOpen / base.rowsReadByOpen, large.heapAfterOpen / base.heapAfterOpen,
                large.heapAfterWalk / base.heapAfterWalk);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const Figures carried = measure(fixture::copyCarried(folder.path()));
    const Figures small = measure(fixture::makePoems(folder.path(), 13));
    const Figures medium = measure(fixture::makePoems(folder.path(), 1000));
    const Figures large = measure(fixture::makePoems(folder.path(), 20000));

    std::printf("Record set, window of %d rows, median of %d runs\n\n", windowRows, runs);
    std::printf("%-16s %14s %11s %12s %6s %14s %13s\n", "poems", "open+window", "count", "1000 moves",
                "rows", "heap at open", "after walk");
    printFigures("13 carried", carried);
    printFigures("13 short", small);
    printFigures("1000 short", medium);
    printFigures("20000 short", large);
    std::printf("\n20000 short as a multiple of\n");
    printRatios("13 carried", large, carried);
    printRatios("13 short", large, small);
    printRatios("1000 short", large, medium);

    const double openRatio = large.openMicros / carried.openMicros;
    benchtable::ratioRow("record set: open + window, 20000 poems vs 13 carried", large.openMicros, carried.openMicros,
                         "us", openGoal);
    std::printf("\nopen + first window: %.2f times the 13 carried poems (goal: at most %.1f): %s\n", openRatio,
                openGoal, openRatio <= openGoal ? "met" : "missed");
    return 0;
}
