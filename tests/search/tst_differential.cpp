// The search button against a reference matcher on the carried poems: for
// generated terms, the poems in the result and the count shown must be the
// ones the LIKE rules give, and a pattern over the engine's limit must be
// refused with the count left as it was.
//
// VARGORIN_SEARCH_TERMS sets how many terms (default 3000) and
// VARGORIN_SEARCH_SEED replays a run; the seed is printed either way.
#include "boxwatcher.h"
#include "likereference.h"
#include "program.h"
#include "termgenerator.h"
#include "testmain.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <random>

namespace {

QByteArray carriedDigest()
{
    QFile file(QStringLiteral(VARGORIN_CARRIED_DB));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

std::uint64_t environmentNumber(const char *name, std::uint64_t fallback)
{
    bool ok = false;
    const std::uint64_t value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

QList<int> keysOfResult(store::RecordSet &query)
{
    QList<int> keys;
    if (query.isEmpty())
        return keys;
    for (query.first(); !query.eof(); query.next())
        keys << query.fieldText(QStringLiteral("AZ")).toInt();
    return keys;
}

// Enough of a term to recognise it, with every character that could hide in
// a log spelled out.
QString printable(const QString &term)
{
    QString shown;
    for (const char32_t c : term.left(120).toUcs4())
        shown += c >= 0x20 && c < 0x7f && c != u'\\' ? QString(QChar(c)) : QStringLiteral("\\u{%1}").arg(uint(c), 0, 16);
    if (term.size() > 120)
        shown += QStringLiteral("... (%1 characters)").arg(term.size());
    return shown;
}

QString describe(const std::optional<QList<int>> &keys)
{
    if (!keys)
        return QStringLiteral("refused");
    QStringList numbers;
    for (int key : *keys)
        numbers << QString::number(key);
    return u'[' + numbers.join(u',') + u']';
}

} // namespace

class DifferentialSearchTest final : public QObject {
    Q_OBJECT

    QByteArray m_digestBefore;

private slots:
    void initTestCase() { m_digestBefore = carriedDigest(); }

    void searchButtonAgreesWithTheReference()
    {
        const std::uint64_t seed = environmentNumber("VARGORIN_SEARCH_SEED", std::random_device{}());
        const std::uint64_t terms = environmentNumber("VARGORIN_SEARCH_TERMS", 3000);
        qInfo("seed %llu, %llu terms; replay with VARGORIN_SEARCH_SEED=%llu", qulonglong(seed), qulonglong(terms),
              qulonglong(seed));

        const std::vector<reference::Poem> poems = reference::readPoems(QStringLiteral(VARGORIN_CARRIED_DB));
        QCOMPARE(poems.size(), size_t(13));
        TermGenerator generator(poems, seed);

        StartedProgram run;
        TForm1 &form = run.program.form;
        BoxWatcher watcher;
        QString countShown = form.Label12->text();
        std::uint64_t refused = 0, foundNone = 0, foundAll = 0;
        QElapsedTimer clock;
        clock.start();
        for (std::uint64_t index = 0; index < terms; ++index) {
            const QString term = generator.next();
            const std::optional<QList<int>> expected = reference::expectedKeys(poems, term);

            const size_t boxesBefore = watcher.seen().size();
            form.Keress1->trigger();
            form.Edit1->setText(term);
            QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
            const bool wasRefused = watcher.seen().size() > boxesBefore;
            const std::optional<QList<int>> found =
                wasRefused ? std::nullopt : std::optional(keysOfResult(form.FDQuery1));
            if (expected) {
                countShown = QString::number(expected->size());
                foundNone += expected->isEmpty();
                foundAll += size_t(expected->size()) == poems.size();
            }

            const QString where = QStringLiteral("term %1 of seed %2: \"%3\"").arg(index).arg(seed).arg(printable(term));
            QVERIFY2(found == expected, qPrintable(where + QStringLiteral(": found %1, the reference %2")
                                                              .arg(describe(found), describe(expected))));
            QVERIFY2(form.Label12->text() == countShown,
                     qPrintable(where + QStringLiteral(": count shown %1, expected %2").arg(form.Label12->text(), countShown)));
            if (wasRefused) {
                ++refused;
                const QString text = watcher.seen().back().text;
                QVERIFY2(text.contains(QStringLiteral("LIKE or GLOB pattern too complex")), qPrintable(where + text));
            }
        }
        qInfo("%llu terms agreed in %.1f s: %llu found none, %llu some, %llu all; %llu refused over the pattern limit",
              qulonglong(terms), double(clock.elapsed()) / 1000.0, qulonglong(foundNone),
              qulonglong(terms - foundNone - foundAll - refused), qulonglong(foundAll), qulonglong(refused));
    }

    void carriedFileIsUnchanged() { QCOMPARE(carriedDigest(), m_digestBefore); }
};

VARGORIN_TEST_MAIN(DifferentialSearchTest)
#include "tst_differential.moc"
