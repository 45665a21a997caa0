// The search on the carried poems, from the click on the search button to
// the title grid repainted, against the least any program can do that shows
// the same: the same statement run bare on the engine with its titles read,
// the same count, and a bare tab widget of the reader's size turning from its
// term page to a bare list of the titles found, repainted. The search lands on
// the title list whatever page it was started from, so turning the page is
// part of what the user sees change. A second row keeps the bare figure
// without the page turn (statement, count and the list alone) for comparison.
// Alternating rounds, medians and ratios; asserts nothing.
#include "forms/Unit2.h"
#include "barelist.h"
#include "benchtable.h"
#include "poemfixture.h"
#include "program.h"
#include "readerapplication.h"
#include "searchrun.h"

#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int rounds = 101;
constexpr double goal = 2.0;

// A tab widget like the reader's page control, with the bare list as its
// first page; a search is started from the second page, as in the reader.
struct BarePages {
    explicit BarePages(const TForm1 &form)
    {
        pages.setFont(form.PageControl1->font());
        pages.resize(form.PageControl1->size());
        list = new BareList(form.DBGrid1->gridGeometry().rowPitch(), &pages);
        pages.addTab(list, form.PageControl1->tabText(0));
        pages.addTab(new QWidget, form.PageControl1->tabText(1));
        pages.addTab(new QWidget, form.PageControl1->tabText(2));
        pages.show();
    }
    QTabWidget pages;
    BareList *list;
};

double bareSearch(searchrun::BareEngine &engine, BarePages &bare, const QString &term, bool turnPage)
{
    bare.pages.setCurrentIndex(turnPage ? 1 : 0);
    QCoreApplication::processEvents(); // the page the search starts from is painted before the clock starts
    QElapsedTimer clock;
    clock.start();
    const QByteArray statement = searchrun::searchStatement(term);
    QStringList titles;
    engine.run(statement, [&](sqlite3_stmt *row) {
        titles << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, 0)),
                                    sqlite3_column_bytes(row, 0));
    });
    engine.count(statement);
    bare.list->setTitles(titles);
    bare.pages.setCurrentIndex(0);
    bare.list->repaint();
    return searchrun::millisecondsSince(clock);
}

} // namespace

int main(int argc, char *argv[])
{
    ReaderApplication application(argc, argv);

    StartedProgram run;
    TForm1 &form = run.program.form;
    QTemporaryDir bareFolder;
    searchrun::BareEngine engine(fixture::copyCarried(bareFolder.path()));

    BarePages bare(form);

    std::printf("Search on the 13 carried poems, median of %d alternating rounds\n", rounds);
    for (const QString &term : {QStringLiteral("kék"), QString(), QStringLiteral("xyz")}) {
        std::vector<double> reader, turning, listOnly;
        for (int round = 0; round < rounds; ++round) {
            reader.push_back(searchrun::searchThroughButton(form, term));
            turning.push_back(bareSearch(engine, bare, term, true));
            listOnly.push_back(bareSearch(engine, bare, term, false));
        }
        const double readerMs = searchrun::median(reader), bareMs = searchrun::median(turning),
                     listMs = searchrun::median(listOnly);
        const QByteArray what = "search, carried poems: \"" + term.toUtf8() + "\" (" + form.Label12->text().toUtf8()
            + " found)";
        std::printf("%s: reader %.3f ms, bare %.3f ms, bare without the page turn %.3f ms\n", what.constData(),
                    readerMs, bareMs, listMs);
        benchtable::ratioRow(what.constData(), readerMs, bareMs, "ms", goal);
        benchtable::ratioRow((what + ", bare without the page turn").constData(), readerMs, listMs, "ms");
    }
    return 0;
}
