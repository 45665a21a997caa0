// The search on the carried poems, from the click on the search button to
// the title grid repainted, against the least any program can do: the same
// statement run bare on the engine with its titles read, the same count, and
// a repaint of a bare list of the titles found. Alternating rounds, medians
// and ratios; asserts nothing.
#include "forms/Unit2.h"
#include "barelist.h"
#include "benchtable.h"
#include "poemfixture.h"
#include "program.h"
#include "readerapplication.h"
#include "searchrun.h"

#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int rounds = 101;

double bareSearch(searchrun::BareEngine &engine, BareList &list, const QString &term)
{
    QElapsedTimer clock;
    clock.start();
    const QByteArray statement = searchrun::searchStatement(term);
    QStringList titles;
    engine.run(statement, [&](sqlite3_stmt *row) {
        titles << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, 0)),
                                    sqlite3_column_bytes(row, 0));
    });
    engine.count(statement);
    list.setTitles(titles);
    list.repaint();
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

    QWidget listWindow;
    listWindow.setFont(form.DBGrid1->font());
    listWindow.resize(form.DBGrid1->viewport()->size());
    BareList list(form.DBGrid1->gridGeometry().rowPitch(), &listWindow);
    list.resize(listWindow.size());
    listWindow.show();

    std::printf("Search on the 13 carried poems, median of %d alternating rounds\n", rounds);
    for (const QString &term : {QStringLiteral("kék"), QString(), QStringLiteral("xyz")}) {
        std::vector<double> reader, bare;
        for (int round = 0; round < rounds; ++round) {
            reader.push_back(searchrun::searchThroughButton(form, term));
            bare.push_back(bareSearch(engine, list, term));
        }
        const double readerMs = searchrun::median(reader), bareMs = searchrun::median(bare);
        const QByteArray what = "search, carried poems: \"" + term.toUtf8() + "\" (" + form.Label12->text().toUtf8()
            + " found)";
        std::printf("%s: reader %.3f ms, bare %.3f ms\n", what.constData(), readerMs, bareMs);
        benchtable::ratioRow(what.constData(), readerMs, bareMs, "ms");
    }
    return 0;
}
