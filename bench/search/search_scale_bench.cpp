// The search at scale: 20,000 poems whose texts follow the sizes of the
// carried ones (about half a gigabyte), generated into a temporary folder.
// The reader's search, from the click to the title grid repainted, against
// one bare LIKE scan of the same file: the same statement stepped to its end
// on a plain engine connection. The reader scans twice by design (its first
// batch, then the count), so the goal is at most 2.1 times. Asserts nothing.
#include "forms/Unit2.h"
#include "benchtable.h"
#include "likereference.h"
#include "poemfixture.h"
#include "program.h"
#include "readerapplication.h"
#include "searchrun.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int poems = 20000;
constexpr int rounds = 7;
constexpr double goal = 2.1;

// Poem k is carried poem k mod 13 with its lines turned round by k, so every
// text differs and the sizes follow the carried ones; titles get the key.
QString generateCorpus(const QString &folder)
{
    const std::vector<reference::Poem> carried = reference::readPoems(QStringLiteral(VARGORIN_CARRIED_DB));
    std::vector<QByteArray> titles;
    std::vector<QList<QByteArray>> lines;
    for (const reference::Poem &poem : carried) {
        titles.push_back(QString::fromUcs4(poem.title->data(), qsizetype(poem.title->size())).toUtf8());
        lines.push_back(QString::fromUcs4(poem.text->data(), qsizetype(poem.text->size())).toUtf8().split('\n'));
    }
    return fixture::makePoems(folder, poems, [&](int key) {
        const size_t source = size_t(key) % carried.size();
        QList<QByteArray> turned = lines[source];
        std::rotate(turned.begin(), turned.begin() + key % turned.size(), turned.end());
        return fixture::Poem{titles[source] + ' ' + QByteArray::number(key), turned.join('\n'), {}};
    });
}

} // namespace

int main(int argc, char *argv[])
{
    ReaderApplication application(argc, argv);

    QTemporaryDir folder;
    QElapsedTimer generation;
    generation.start();
    const QString corpus = generateCorpus(folder.path());
    std::printf("%d generated poems, %.0f MB, made in %.1f s\n", poems, double(QFileInfo(corpus).size()) / 1e6,
                double(generation.elapsed()) / 1000.0);

    StartedProgram run;
    TForm1 &form = run.program.form;
    form.FDQuery1.close();
    form.FDConnection1.close();
    form.FDConnection1.setDatabase(corpus);
    form.FDConnection1.open();
    searchrun::BareEngine engine(corpus);

    // A term that finds nothing makes both of the reader's scans whole; a
    // frequent one lets its first batch stop early.
    for (const QString &term : {QStringLiteral("xyzzy"), QStringLiteral("kék")}) {
        std::vector<double> reader, bare;
        for (int round = 0; round < rounds; ++round) {
            reader.push_back(searchrun::searchThroughButton(form, term));
            QElapsedTimer clock;
            clock.start();
            engine.scan(searchrun::searchStatement(term));
            bare.push_back(searchrun::millisecondsSince(clock));
        }
        const double readerMs = searchrun::median(reader), bareMs = searchrun::median(bare);
        const QByteArray what = "search at scale, 20000 poems: \"" + term.toUtf8() + "\" ("
            + form.Label12->text().toUtf8() + " found)";
        std::printf("%s: reader %.0f ms, one bare scan %.0f ms, median of %d\n", what.constData(), readerMs, bareMs,
                    rounds);
        benchtable::ratioRow(what.constData(), readerMs, bareMs, "ms", goal);
    }
    return 0;
}
