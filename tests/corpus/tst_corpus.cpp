// The poem database the reader carries, checked on the committed file itself:
// its SQLite header, its schema, the shape of the thirteen poems and what the
// reader's LIKE search finds in them. The file is opened read-only, so a
// failing run can never be caused, or hidden, by the test writing to it.
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QtEndian>

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <numeric>

namespace {

constexpr int FirstKey = 693;
constexpr int LastKey = 705;
constexpr int LongPoem = 700;
constexpr int FirstNotebookPoem = 702;   // the last four share their first line
constexpr qint64 PageSize = 4096;
constexpr qint64 PageCount = 81;

const char *const TableDefinition =
    "CREATE TABLE \"tbl_Data\" (\n"
    "\t\"CIM\"\tVARCHAR(400),\n"
    "\t\"VERS\"\tTEXT,\n"
    "\t\"DATUM\"\tCHAR(150),\n"
    "\t\"FOTO\"\tBLOB,\n"
    "\t\"AZ\"\tINTEGER PRIMARY KEY AUTOINCREMENT\n"
    ")";

QList<int> keyRange(int first, int last)
{
    QList<int> keys(last - first + 1);
    std::iota(keys.begin(), keys.end(), first);
    return keys;
}

// Characters as a reader counts them; QString::size() would count a
// character outside the BMP twice.
qsizetype characters(QStringView text)
{
    return text.size()
        - std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

// A read-only connection answering whole result sets. SQL NULL comes back as
// an invalid QVariant, so "NULL" and "empty text" stay distinguishable.
class ReadOnlyDatabase final {
public:
    explicit ReadOnlyDatabase(const char *path)
    {
        if (sqlite3_open_v2(path, &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    ~ReadOnlyDatabase() { sqlite3_close(m_db); }
    ReadOnlyDatabase(const ReadOnlyDatabase &) = delete;
    ReadOnlyDatabase &operator=(const ReadOnlyDatabase &) = delete;

    const QString &error() const { return m_error; }

    QList<QVariantList> rows(const QString &sql, QStringList *columnNames = nullptr) const
    {
        QList<QVariantList> result;
        sqlite3_stmt *raw = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK) {
            QTest::qFail(sqlite3_errmsg(m_db), __FILE__, __LINE__);
            return result;
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> stmt(raw, sqlite3_finalize);
        const int columns = sqlite3_column_count(raw);
        for (int c = 0; columnNames && c < columns; ++c)
            columnNames->append(QString::fromUtf8(sqlite3_column_name(raw, c)));
        while (sqlite3_step(raw) == SQLITE_ROW) {
            QVariantList row;
            for (int c = 0; c < columns; ++c)
                row.append(value(raw, c));
            result.append(row);
        }
        return result;
    }

private:
    static QVariant value(sqlite3_stmt *stmt, int column)
    {
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return sqlite3_column_int64(stmt, column);
        default: {
            const auto *bytes = static_cast<const char *>(sqlite3_column_blob(stmt, column));
            const QByteArray raw(bytes, sqlite3_column_bytes(stmt, column));
            return sqlite3_column_type(stmt, column) == SQLITE_TEXT ? QVariant(QString::fromUtf8(raw))
                                                                   : QVariant(raw);
        }
        }
    }

    sqlite3 *m_db = nullptr;
    QString m_error;
};

struct Poem {
    int key = 0;
    QString title;
    QString text;
    QStringList lines;
};

// Lines that hold nothing but a stanza number, however they are indented.
const QRegularExpression StanzaNumber(QStringLiteral("^\\s*(\\d+)\\.\\s*$"));

} // namespace

class CorpusTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<ReadOnlyDatabase> m_db;
    QList<Poem> m_poems;   // in storage order
    QByteArray m_file;

    const Poem &poem(int key) const
    {
        return *std::find_if(m_poems.begin(), m_poems.end(), [key](const Poem &p) { return p.key == key; });
    }

    QStringList allLines() const
    {
        QStringList lines;
        for (const Poem &p : m_poems)
            lines += p.lines;
        return lines;
    }

private slots:
    void initTestCase()
    {
        QFile file(QStringLiteral(VARGORIN_CARRIED_DB));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        m_file = file.readAll();

        m_db = std::make_unique<ReadOnlyDatabase>(VARGORIN_CARRIED_DB);
        QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
        for (const QVariantList &row : m_db->rows(QStringLiteral("SELECT AZ, CIM, VERS FROM tbl_Data"))) {
            const QString text = row[2].toString();
            m_poems.append({row[0].toInt(), row[1].toString(), text, text.split(u'\n')});
        }
        // Every check below looks poems up by key: keys 693..705, stored in key order.
        QList<int> keys;
        for (const Poem &p : m_poems)
            keys.append(p.key);
        QCOMPARE(keys, keyRange(FirstKey, LastKey));
    }

    // --- the file ---------------------------------------------------------

    void fileIsWholePagesWithCurrentHeader()
    {
        QCOMPARE(m_file.size(), PageCount * PageSize);
        QVERIFY(m_file.startsWith(QByteArray("SQLite format 3\0", 16)));
        // SQLite trusts the page count at offset 28 only while the
        // version-valid-for number equals the file change counter.
        QCOMPARE(qFromBigEndian<quint32>(m_file.constData() + 92),
                 qFromBigEndian<quint32>(m_file.constData() + 24));
        QCOMPARE(m_db->rows(QStringLiteral("PRAGMA page_count")).value(0).value(0).toLongLong(), PageCount);
        QCOMPARE(m_db->rows(QStringLiteral("PRAGMA freelist_count")).value(0).value(0).toLongLong(), 0);
    }

    void headerField_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("size");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("page size") << 16 << 2 << 4096u;
        QTest::newRow("write version: rollback journal") << 18 << 1 << 1u;
        QTest::newRow("read version: rollback journal") << 19 << 1 << 1u;
        QTest::newRow("reserved bytes per page") << 20 << 1 << 0u;
        QTest::newRow("page count") << 28 << 4 << quint32(PageCount);
        QTest::newRow("first free-list trunk page") << 32 << 4 << 0u;
        QTest::newRow("free-list pages") << 36 << 4 << 0u;
        QTest::newRow("schema format") << 44 << 4 << 4u;
        QTest::newRow("auto-vacuum off") << 52 << 4 << 0u;
        QTest::newRow("text encoding UTF-8") << 56 << 4 << 1u;
        QTest::newRow("user_version") << 60 << 4 << 0u;
        QTest::newRow("incremental vacuum off") << 64 << 4 << 0u;
        QTest::newRow("application_id") << 68 << 4 << 0u;
    }

    void headerField()
    {
        QFETCH(int, offset);
        QFETCH(int, size);
        QFETCH(quint32, expected);
        quint32 value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | quint8(m_file.at(offset + i));
        QCOMPARE(value, expected);
    }

    // --- the schema -------------------------------------------------------

    void schemaHoldsExactlyTheTwoTables()
    {
        const auto schema = m_db->rows(
            QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name"));
        QCOMPARE(schema.size(), 2);
        QCOMPARE(schema[0], (QVariantList{"table", "sqlite_sequence", "sqlite_sequence",
                                          "CREATE TABLE sqlite_sequence(name,seq)"}));
        QCOMPARE(schema[1].mid(0, 3), (QVariantList{"table", "tbl_Data", "tbl_Data"}));
        QCOMPARE(schema[1][3].toString().toUtf8(), QByteArray(TableDefinition));

        QStringList columns;
        m_db->rows(QStringLiteral("SELECT * FROM tbl_Data LIMIT 0"), &columns);
        QCOMPARE(columns, (QStringList{"CIM", "VERS", "DATUM", "FOTO", "AZ"}));
    }

    void sequenceRecordsTheLastKey()
    {
        const auto rows = m_db->rows(QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
        QCOMPARE(rows, (QList<QVariantList>{{"tbl_Data", qint64(LastKey)}}));
    }

    // --- the records ------------------------------------------------------

    void keyIsTheRowidAndOnlyTitleAndTextAreFilled()
    {
        const auto rows = m_db->rows(QStringLiteral(
            "SELECT rowid, AZ, typeof(CIM), typeof(VERS), typeof(DATUM), typeof(FOTO) FROM tbl_Data"));
        QCOMPARE(rows.size(), m_poems.size());
        for (const QVariantList &row : rows) {
            QCOMPARE(row[0], row[1]);
            QCOMPARE(row.mid(2), (QVariantList{"text", "text", "null", "null"}));
        }
    }

    void titles()
    {
        QStringList titles;
        for (const Poem &p : m_poems)
            titles.append(p.title);
        const auto count = [&titles](auto predicate) { return std::count_if(titles.begin(), titles.end(), predicate); };
        const auto [shortest, longest] = std::minmax_element(titles.begin(), titles.end(),
            [](const QString &a, const QString &b) { return characters(a) < characters(b); });

        QCOMPARE(characters(*shortest), 8);
        QCOMPARE(characters(*longest), 22);
        QCOMPARE(count([](const QString &t) { return t != t.toUpper(); }), 1);
        QCOMPARE(count([](const QString &t) { return t.contains(u'[') && t.contains(u']'); }), 3);
        QCOMPARE(count([](const QString &t) { return t.endsWith(QLatin1String("...")); }), 4);
        QCOMPARE(count([](const QString &t) { return t.contains(u'Ő'); }), 1);
        QCOMPARE(poem(702).title, poem(705).title);
        QCOMPARE(QSet<QString>(titles.begin(), titles.end()).size(), titles.size() - 1);
    }

    void textsAreLineFeedSeparatedWithEmptySecondLine()
    {
        QList<qsizetype> lineCounts;
        for (const Poem &p : m_poems) {
            QVERIFY2(!p.text.contains(u'\r'), qPrintable(QString::number(p.key)));
            QVERIFY2(!p.text.endsWith(u'\n'), qPrintable(QString::number(p.key)));
            QVERIFY2(p.lines.size() > 2 && p.lines[1].isEmpty(), qPrintable(QString::number(p.key)));
            lineCounts.append(p.lines.size());
        }
        QCOMPARE(*std::min_element(lineCounts.begin(), lineCounts.end()), 8);
        QCOMPARE(*std::max_element(lineCounts.begin(), lineCounts.end()), 6419);
        QCOMPARE(poem(LongPoem).lines.size(), 6419);
    }

    void firstLinesAreHeadings()
    {
        int exactly = 0, withMore = 0;
        for (int key = FirstKey; key < FirstNotebookPoem; ++key) {
            const Poem &p = poem(key);
            exactly += p.lines[0] == p.title;
            withMore += p.lines[0].startsWith(p.title + u' ');
        }
        QCOMPARE(exactly, 8);
        QCOMPARE(withMore, 1);

        // The notebook poems share one heading and name themselves further down.
        const QString shared = poem(FirstNotebookPoem).lines[0];
        for (int key = FirstNotebookPoem; key <= LastKey; ++key) {
            const Poem &p = poem(key);
            QCOMPARE(p.lines[0], shared);
            QVERIFY(p.lines[0] != p.title);
            QVERIFY2(p.lines.indexOf(p.title, 2) > 1, qPrintable(p.title));
        }
    }

    void stanzasAreNumberedOnIndentedLines()
    {
        const QRegularExpression wellFormed(QStringLiteral("^( {14,22}|\\t)\\d+\\. ?$"));
        int numbers = 0, followedBySpace = 0, poemsIndentingWithTab = 0;
        for (const Poem &p : m_poems) {
            int expectedNumber = 1;
            bool tab = false;
            for (const QString &line : p.lines) {
                const auto match = StanzaNumber.match(line);
                if (!match.hasMatch())
                    continue;
                QVERIFY2(wellFormed.match(line).hasMatch(), qPrintable(QString("%1: [%2]").arg(p.key).arg(line)));
                QCOMPARE(match.captured(1).toInt(), expectedNumber++);
                tab = tab || line.startsWith(u'\t');
                followedBySpace += line.endsWith(u' ');
                ++numbers;
            }
            QVERIFY2(expectedNumber > 1, qPrintable(QString::number(p.key)));
            poemsIndentingWithTab += tab;
        }
        QCOMPARE(poemsIndentingWithTab, 2);
        QVERIFY2(followedBySpace > numbers / 2, qPrintable(QString("%1 of %2").arg(followedBySpace).arg(numbers)));
    }

    void textSizes()
    {
        qsizetype total = 0, largestOther = 0, smallest = std::numeric_limits<qsizetype>::max();
        for (const Poem &p : m_poems) {
            const qsizetype size = characters(p.text);
            total += size;
            smallest = std::min(smallest, size);
            if (p.key != LongPoem)
                largestOther = std::max(largestOther, size);
        }
        QCOMPARE(characters(poem(LongPoem).text), 230633);
        QCOMPARE(poem(LongPoem).text.toUtf8().size(), 248984);
        QCOMPARE(largestOther, 14115);
        QCOMPARE(smallest, 164);
        QCOMPARE(total, 282888);
    }

    void lineLengths()
    {
        const QStringList lines = allLines();
        QList<qsizetype> lengths;
        for (const QString &line : lines)
            lengths.append(characters(line));
        std::sort(lengths.begin(), lengths.end());

        // Both middle values, so the median is 37 however it is averaged.
        QCOMPARE(lengths[(lengths.size() - 1) / 2], 37);
        QCOMPARE(lengths[lengths.size() / 2], 37);
        QCOMPARE(std::count_if(lengths.begin(), lengths.end(), [](qsizetype n) { return n > 100; }), 3);
        QCOMPARE(lengths.last(), 1913);

        const auto trailingSpace =
            std::count_if(lines.begin(), lines.end(), [](const QString &l) { return l.endsWith(u' '); });
        QVERIFY2(trailingSpace > lines.size() / 5,
                 qPrintable(QString("%1 of %2 lines").arg(trailingSpace).arg(lines.size())));
    }

    void charactersBeyondAsciiAreHungarianLettersAndQuotes()
    {
        const auto unwanted = [](QChar c) {
            return QStringView(u"%_'\"\\").contains(c) || (c < u' ' && c != u'\n' && c != u'\t');
        };
        QSet<QChar> beyondAscii, found;
        for (const Poem &p : m_poems) {
            for (QChar c : p.title + p.text) {
                if (unwanted(c))
                    found.insert(c);
                else if (c.unicode() >= 0x7f)
                    beyondAscii.insert(c);
            }
        }
        QCOMPARE(found, QSet<QChar>());
        const QString allowed = QStringLiteral("áéíóöőúüűÁÉÓÖŐÚÜŰ„”’");
        QCOMPARE(beyondAscii, QSet<QChar>(allowed.begin(), allowed.end()));
    }

    // --- the reader's search ----------------------------------------------

    void search_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QList<int>>("keys");
        const QList<int> all = keyRange(FirstKey, LastKey);
        QTest::newRow("empty") << QString() << all;
        QTest::newRow("kék") << QStringLiteral("kék") << QList<int>{700, 702, 705};
        QTest::newRow("Kék: ASCII letters fold") << QStringLiteral("Kék") << QList<int>{700, 702, 705};
        QTest::newRow("KÉK: É does not fold") << QStringLiteral("KÉK") << QList<int>{702, 705};
        QTest::newRow("IDŐ") << QStringLiteral("IDŐ") << QList<int>{703};
        QTest::newRow("idő") << QStringLiteral("idő") << QList<int>{695, 700, 702, 703};
        QTest::newRow("_ wildcard") << QStringLiteral("_") << all;
        QTest::newRow("% wildcard") << QStringLiteral("%") << all;
        QTest::newRow("apostrophe") << QStringLiteral("'") << QList<int>{};
        QTest::newRow("xyz") << QStringLiteral("xyz") << QList<int>{};
        QTest::newRow("one space") << QStringLiteral(" ") << all;
    }

    void search()
    {
        QFETCH(QString, term);
        QFETCH(QList<int>, keys);
        // Quoted the way the reader quotes a term: apostrophes doubled.
        const QString quoted = QString(term).replace(u'\'', QLatin1String("''"));
        const QString literal = QLatin1String("'%") + quoted + QLatin1String("%'");
        const auto rows = m_db->rows(
            QStringLiteral("SELECT AZ FROM tbl_Data WHERE CIM LIKE %1 OR DATUM LIKE %1 OR VERS LIKE %1").arg(literal));
        QList<int> found;
        for (const QVariantList &row : rows)
            found.append(row[0].toInt());
        QCOMPARE(found, keys);
    }
};

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"
