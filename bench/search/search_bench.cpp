// The search on the carried poems, from the click on the search button to
// the title grid repainted, against the least any program can do that shows
// the same: a bare tab widget of the reader's size whose term page has a push
// button like the reader's; its click runs the same statement bare on the
// engine with its titles read and the same count, and turns to a bare list of
// the titles found with a plain scroll bar over them, as the reader's grid
// has one, repainted. The user sees the button go down and up, the page turn
// and the bar, so the bare program draws them too. A second row keeps the
// bare figure without any of them (statement, count and the list alone).
// Alternating rounds, medians and ratios; asserts nothing.
#include "forms/Unit2.h"
#include "barelist.h"
#include "benchtable.h"
#include "poemfixture.h"
#include "program.h"
#include "readerapplication.h"
#include "searchrun.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int rounds = 101;
constexpr double goal = 2.0;

// The bare program's work on a search: the statement with the titles read,
// and the count.
QStringList bareResult(searchrun::BareEngine &engine, const QString &term)
{
    const QByteArray statement = searchrun::searchStatement(term);
    QStringList titles;
    engine.run(statement, [&](sqlite3_stmt *row) {
        titles << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, 0)),
                                    sqlite3_column_bytes(row, 0));
    });
    engine.count(statement);
    return titles;
}

// A tab widget like the reader's page control: the bare list and its bar on
// the first page, a button like the reader's search button on the second.
struct BarePages {
    explicit BarePages(const TForm1 &form)
    {
        pages.setFont(form.PageControl1->font());
        pages.resize(form.PageControl1->size());
        auto *titlePage = new QWidget;
        auto *layout = new QHBoxLayout(titlePage);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        list = new BareList(form.DBGrid1->gridGeometry().rowPitch(), titlePage);
        bar = new QScrollBar(Qt::Vertical, titlePage);
        layout->addWidget(list);
        layout->addWidget(bar);
        auto *termPage = new QWidget;
        button = new QPushButton(form.BitBtn1->icon(), form.BitBtn1->text(), termPage);
        button->setIconSize(form.BitBtn1->iconSize());
        button->setGeometry(form.BitBtn1->geometry());
        pages.addTab(titlePage, form.PageControl1->tabText(0));
        pages.addTab(termPage, form.PageControl1->tabText(1));
        pages.addTab(new QWidget, form.PageControl1->tabText(2));
        pages.show();
    }

    // Like the reader's grid: a bar from the first title to the last, its
    // thumb as long as the rows shown, for more than one title.
    void show(const QStringList &titles)
    {
        list->setTitles(titles);
        bar->setRange(1, std::max(1, int(titles.size())));
        bar->setPageStep(list->rowsShown());
        bar->setValue(1);
        bar->setVisible(titles.size() > 1);
    }

    QTabWidget pages;
    BareList *list;
    QScrollBar *bar;
    QPushButton *button;
};

// Clicks the bare button on the term page, whose search lands on the list.
double bareSearchThroughButton(searchrun::BareEngine &engine, BarePages &bare, const QString &term)
{
    bare.pages.setCurrentIndex(1);
    QCoreApplication::processEvents(); // the term page is painted before the clock starts
    const QMetaObject::Connection search = QObject::connect(bare.button, &QPushButton::clicked, [&] {
        bare.show(bareResult(engine, term));
        bare.pages.setCurrentIndex(0);
    });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(bare.button, Qt::LeftButton);
    bare.list->repaint();
    const double elapsed = searchrun::millisecondsSince(clock);
    QObject::disconnect(search);
    return elapsed;
}

// The statement, the count and the list already in view: no button, no page, no bar.
double bareListOnly(searchrun::BareEngine &engine, BarePages &bare, const QString &term)
{
    bare.pages.setCurrentIndex(0);
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    bare.list->setTitles(bareResult(engine, term));
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
        std::vector<double> reader, sameShown, listOnly;
        for (int round = 0; round < rounds; ++round) {
            reader.push_back(searchrun::searchThroughButton(form, term));
            sameShown.push_back(bareSearchThroughButton(engine, bare, term));
            listOnly.push_back(bareListOnly(engine, bare, term));
        }
        const double readerMs = searchrun::median(reader), bareMs = searchrun::median(sameShown),
                     listMs = searchrun::median(listOnly);
        const QByteArray what = "search, carried poems: \"" + term.toUtf8() + "\" (" + form.Label12->text().toUtf8()
            + " found)";
        std::printf("%s: reader %.3f ms, bare %.3f ms, bare statement, count and list alone %.3f ms\n",
                    what.constData(), readerMs, bareMs, listMs);
        benchtable::ratioRow(what.constData(), readerMs, bareMs, "ms", goal);
        benchtable::ratioRow((what + ", bare statement, count and list alone").constData(), readerMs, listMs, "ms");
    }
    return 0;
}
