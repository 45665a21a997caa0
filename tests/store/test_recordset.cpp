#include "countingtext.h"
#include "poemfixture.h"
#include "storeerror.h"
#include "storeharness.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using store::FieldKind;

namespace {

const QByteArray baseCountingText = "SELECT COUNT(*) FROM (\r\nSelect * from tbl_Data\r\n) A";

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString sqlLiteral(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The keys of the records in the window, in window order.
QStringList windowKeys(const store::RecordSet &records)
{
    QStringList keys;
    for (int row = 0; row < records.windowCount(); ++row)
        keys.append(records.windowText(row, QStringLiteral("AZ")));
    return keys;
}

QStringList keyRange(int from, int to)
{
    QStringList keys;
    for (int key = from; key <= to; ++key)
        keys.append(QString::number(key));
    return keys;
}

} // namespace

class TestRecordSet final : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void openOnTheCarriedDatabase();
    void nextWalksToTheEnd_data();
    void nextWalksToTheEnd();
    void lastAndFirstSetOneMarker_data();
    void lastAndFirstSetOneMarker();
    void emptyResultKeepsBothMarkers();
    void goToRecord_data();
    void goToRecord();
    void closeDropsTheResult();
    void closingTheConnectionClosesTheRecordSetFirst();
    void openOpensTheConnectionOnDemand();
    void failedOpenStaysInactive_data();
    void failedOpenStaysInactive();
    void engineErrorInALaterBatchEndsTheResult();

    void countRunsOncePerOpen();
    void countingText_data();
    void countingText();
    void linesJoinWithCrLf();
    void literalsReachTheEngineUnchanged_data();
    void literalsReachTheEngineUnchanged();
    void statementIsKeptUntilTheTextChanges();
    void rowsAreReadInBatchesAsNeeded();

    void windowFollowsTheCursor();
    void windowResizeKeepsTheCurrentRecord();
    void fieldsComeFromTheSchema();
    void declaredTypesAreReadInTheirUsualSpellings();
    void eightBitTextKeepsEveryHungarianLetter();

private:
    QTemporaryDir m_dir;
};

void TestRecordSet::openOnTheCarriedDatabase()
{
    const QString path = fixture::copyCarried(m_dir.path());
    const QByteArray before = fileHash(path);
    {
        StoreHarness store(path);
        auto &records = store.records;
        // What the views see when told of the open: the first window is already there.
        QString seenAtOpen;
        connect(&store.source, &store::DataSource::stateChanged, &store.view,
                [&] { seenAtOpen = records.fieldText(QStringLiteral("AZ")); });
        records.open();

        QVERIFY(records.isActive());
        QVERIFY(!records.isEmpty());
        QCOMPARE(records.recordCount(), 13);
        QCOMPARE(RecordingView::state(records), QStringLiteral("#1 B-"));
        QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("693"));
        QCOMPARE(store.view.notes, QStringList{QStringLiteral("active #1 B-")});
        QCOMPARE(seenAtOpen, QStringLiteral("693"));

        records.goToRecord(8);
        QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("700"));
        QCOMPARE(records.fieldText(QStringLiteral("VERS")).size(), 230633); // a memo comes whole
        records.last();
        QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("705"));
        QCOMPARE(store.trace->texts(), (QList<QByteArray>{"Select * from tbl_Data", baseCountingText}));
        QCOMPARE(store.trace->rowsOf("Select * from tbl_Data"), 13);
        for (const StatementTrace::Run &run : store.trace->runs())
            QVERIFY2(run.readOnly, run.text.constData());
    }
    QCOMPARE(fileHash(path), before);
}

void TestRecordSet::nextWalksToTheEnd_data()
{
    QTest::addColumn<int>("windowRows");
    QTest::addColumn<int>("scrollPerNext");
    QTest::newRow("one-record window") << 1 << -1;
    QTest::newRow("window of the whole result") << 13 << 0;
    QTest::newRow("window larger than the result") << 30 << 0;
}

void TestRecordSet::nextWalksToTheEnd()
{
    QFETCH(int, windowRows);
    QFETCH(int, scrollPerNext);
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    auto &records = store.records;
    records.setWindowSize(&store.view, windowRows);
    records.open();
    store.view.notes.clear();

    QStringList expected;
    for (int number = 2; number <= 13; ++number) {
        records.next();
        expected.append(QStringLiteral("scrolled %1 #%2 --").arg(scrollPerNext).arg(number));
    }
    QCOMPARE(store.view.notes, expected);
    QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("705"));

    // Running into the end does not move, but sets the end marker and says so.
    QCOMPARE(records.moveBy(1), 0);
    expected.append(QStringLiteral("scrolled 0 #13 -E"));
    QCOMPARE(store.view.notes, expected);

    // With the end marker set, nothing happens at all.
    QCOMPARE(records.moveBy(1), 0);
    QCOMPARE(store.view.notes, expected);
    QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("705"));
}

void TestRecordSet::lastAndFirstSetOneMarker_data()
{
    QTest::addColumn<int>("poems");
    QTest::newRow("one record") << 1;
    QTest::newRow("several records") << 13;
}

void TestRecordSet::lastAndFirstSetOneMarker()
{
    QFETCH(int, poems);
    StoreHarness store(fixture::makePoems(m_dir.path(), poems));
    auto &records = store.records;
    records.open();
    store.view.notes.clear();

    records.last();
    records.first();
    records.next();
    records.prior();
    // On one record next and prior cannot move and set the marker of their end;
    // otherwise prior reaches the first record with the begin marker clear.
    const QStringList expected = poems == 1
        ? QStringList{"changed #1 -E", "changed #1 B-", "scrolled 0 #1 -E", "scrolled 0 #1 B-"}
        : QStringList{"changed #13 -E", "changed #1 B-", "scrolled -1 #2 --", "scrolled 1 #1 --"};
    QCOMPARE(store.view.notes, expected);
}

void TestRecordSet::emptyResultKeepsBothMarkers()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 0));
    auto &records = store.records;
    records.open();
    QVERIFY(records.isActive());
    QVERIFY(records.isEmpty());
    QCOMPARE(records.recordCount(), 0);
    QCOMPARE(RecordingView::state(records), QStringLiteral("#0 BE"));
    QCOMPARE(records.windowCount(), 0);
    QVERIFY(records.fieldIsNull(QStringLiteral("CIM")));

    const QList<std::function<int()>> moves = {
        [&] { records.first(); return 0; },  [&] { records.last(); return 0; },
        [&] { return records.moveBy(1); },   [&] { return records.moveBy(-5); },
        [&] { records.goToRecord(3); return 0; },
    };
    for (const auto &move : moves) {
        QCOMPARE(move(), 0);
        QCOMPARE(RecordingView::state(records), QStringLiteral("#0 BE"));
    }
}

void TestRecordSet::goToRecord_data()
{
    QTest::addColumn<QList<int>>("movesBefore");
    QTest::addColumn<int>("windowRows");
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("1 with the begin marker clears it") << QList<int>{} << 1 << 1
                                                       << QStringList{"changed #1 --"} << 0;
    QTest::newRow("1 reached by prior: nothing") << QList<int>{1, -1} << 1 << 1 << QStringList{} << 0;
    QTest::newRow("the current record: nothing") << QList<int>{4} << 1 << 5 << QStringList{} << 0;
    QTest::newRow("below 1: the first") << QList<int>{4} << 1 << -3 << QStringList{"changed #1 --"} << 0;
    QTest::newRow("past the end: the last, end marker clear")
        << QList<int>{} << 1 << 99 << QStringList{"changed #13 --"} << 0;
    QTest::newRow("window centred on the record") << QList<int>{} << 5 << 7 << QStringList{"changed #7 --"} << 2;
    QTest::newRow("window filled from before near the end")
        << QList<int>{} << 5 << 12 << QStringList{"changed #12 --"} << 3;
}

void TestRecordSet::goToRecord()
{
    QFETCH(QList<int>, movesBefore);
    QFETCH(int, windowRows);
    QFETCH(int, number);
    QFETCH(QStringList, notes);
    QFETCH(int, currentRow);
    StoreHarness store(fixture::makePoems(m_dir.path(), 13));
    auto &records = store.records;
    records.setWindowSize(&store.view, windowRows);
    records.open();
    for (int move : movesBefore)
        records.moveBy(move);
    store.view.notes.clear();

    records.goToRecord(number);
    QCOMPARE(store.view.notes, notes);
    QCOMPARE(records.currentRow(), currentRow);
    QCOMPARE(records.windowCount(), windowRows);
    QCOMPARE(records.windowText(currentRow, QStringLiteral("AZ")), records.fieldText(QStringLiteral("AZ")));
}

void TestRecordSet::closeDropsTheResult()
{
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    auto &records = store.records;
    records.open();
    records.next();
    QCOMPARE(records.recordCount(), 13);
    // At the close notification the record set already reads as closed.
    bool activeWhenTold = true;
    connect(&store.source, &store::DataSource::stateChanged, &store.view,
            [&] { activeWhenTold = records.isActive(); });
    store.view.notes.clear();

    records.close();
    QVERIFY(!activeWhenTold);
    QCOMPARE(store.view.notes, QStringList{"inactive #0 BE"});
    QCOMPARE(records.recordCount(), 0);
    QVERIFY(records.isEmpty());
    QCOMPARE(records.windowCount(), 0);
    QVERIFY(records.fieldIsNull(QStringLiteral("CIM")));

    records.close();
    QCOMPARE(store.view.notes.size(), 1);
}

void TestRecordSet::closingTheConnectionClosesTheRecordSetFirst()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 200)); // a statement in the middle of its rows
    store.records.open();
    store.trace.reset();
    store.view.notes.clear();

    store.connection.close(); // the engine refuses to close while a statement is alive
    QVERIFY(!store.connection.isOpen());
    QVERIFY(!store.records.isActive());
    QCOMPARE(store.view.notes, QStringList{"inactive #0 BE"});

    store.records.open();
    QVERIFY(store.connection.isOpen());
    QCOMPARE(store.records.recordCount(), 200);
}

void TestRecordSet::openOpensTheConnectionOnDemand()
{
    store::Connection connection;
    store::RecordSet records(connection);
    connection.setDatabase(fixture::copyCarried(m_dir.path()));
    records.open();
    QVERIFY(connection.isOpen());
    QCOMPARE(records.recordCount(), 13);
    records.close();
    connection.close();

    connection.setDatabase(m_dir.filePath(QStringLiteral("no such folder/Vargorin.db")));
    QVERIFY_THROWS_EXCEPTION(store::StoreError, records.open());
    QVERIFY(!connection.isOpen());
    QVERIFY(!records.isActive());
}

void TestRecordSet::failedOpenStaysInactive_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("engineSays");
    QTest::newRow("unknown table") << "Select * from nope" << "no such table: nope";
    QTest::newRow("syntax error") << "Selec * from tbl_Data" << "syntax error";
    // This one prepares fine and fails only when the engine meets the first row.
    QTest::newRow("LIKE pattern too long")
        << "Select * from tbl_Data where CIM like '%" + QString(50000, u'x') + "%'"
        << "LIKE or GLOB pattern too complex";
}

void TestRecordSet::failedOpenStaysInactive()
{
    QFETCH(QString, sql);
    QFETCH(QString, engineSays);
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    auto &records = store.records;
    store.query(sql);

    try {
        records.open();
        QFAIL("the open succeeded");
    } catch (const store::StoreError &error) {
        QVERIFY2(QString::fromUtf8(error.what()).contains(engineSays), error.what());
    }
    QVERIFY(!records.isActive());
    QCOMPARE(records.recordCount(), 0);
    QCOMPARE(records.sql(), QStringList{sql});
    QVERIFY(store.view.notes.isEmpty());

    // The store is usable again at once.
    store.query(QString::fromLatin1(store::RecordSet::baseQuery));
    records.open();
    QCOMPARE(records.recordCount(), 13);
}

void TestRecordSet::engineErrorInALaterBatchEndsTheResult()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    auto &records = store.records;
    // The engine fails on the 70th row, in the second batch.
    store.query(QStringLiteral("Select * from tbl_Data where case when AZ = 70 then abs(-9223372036854775807 - 1) end "
                               "is null"));
    records.open();
    store.view.notes.clear();

    QVERIFY_THROWS_EXCEPTION(store::StoreError, records.moveBy(100));
    QCOMPARE(store.view.notes, QStringList{"scrolled -49 #50 --"}); // views still learn of the steps made
    // The rows before the failure stay; the result is not started over.
    records.last();
    QCOMPARE(records.recordNumber(), 69);
    QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("69"));
}

void TestRecordSet::countRunsOncePerOpen()
{
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    auto &records = store.records;
    records.open();
    QCOMPARE(store.trace->runsOf(baseCountingText), 0); // nobody asked yet
    for (int ask = 0; ask < 3; ++ask)
        QCOMPARE(records.recordCount(), 13);
    records.last();
    QCOMPARE(records.recordCount(), 13);
    QCOMPARE(store.trace->runsOf(baseCountingText), 1);

    records.close();
    records.open();
    QCOMPARE(records.recordCount(), 13);
    QCOMPARE(store.trace->runsOf(baseCountingText), 2);
}

void TestRecordSet::countingText_data()
{
    QTest::addColumn<QByteArray>("statement");
    QTest::addColumn<QByteArray>("counted");
    QTest::newRow("plain") << QByteArray("Select * from tbl_Data") << QByteArray("Select * from tbl_Data");
    QTest::newRow("ORDER BY left out") << QByteArray("Select * from tbl_Data order  by AZ desc")
                                       << QByteArray("Select * from tbl_Data ");
    QTest::newRow("across a line break") << QByteArray("Select * from tbl_Data\r\nORDER\r\nBY CIM")
                                         << QByteArray("Select * from tbl_Data\r\n");
    QTest::newRow("inside a literal") << QByteArray("Select * from tbl_Data where CIM = 'x ORDER BY y'")
                                      << QByteArray("Select * from tbl_Data where CIM = 'x ORDER BY y'");
    QTest::newRow("quoted identifier") << QByteArray("Select \"order by\" from t")
                                       << QByteArray("Select \"order by\" from t");
    QTest::newRow("inside a comment") << QByteArray("Select * from t -- order by AZ")
                                      << QByteArray("Select * from t -- order by AZ");
    QTest::newRow("inside a subquery") << QByteArray("Select * from (select * from t order by AZ limit 3) order by CIM")
                                       << QByteArray("Select * from (select * from t order by AZ limit 3) ");
    QTest::newRow("a word containing it") << QByteArray("Select BORDER BYTE from t")
                                          << QByteArray("Select BORDER BYTE from t");
}

void TestRecordSet::countingText()
{
    QFETCH(QByteArray, statement);
    QFETCH(QByteArray, counted);
    QCOMPARE(store::countingText(statement), "SELECT COUNT(*) FROM (\r\n" + counted + "\r\n) A");
}

void TestRecordSet::linesJoinWithCrLf()
{
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    auto &records = store.records;
    records.clearSql();
    records.addSql(QStringLiteral("Select *"));
    records.addSql(QStringLiteral("from tbl_Data -- every poem"));
    records.addSql(QStringLiteral("order by AZ desc"));
    records.open();
    QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("705"));
    // The line break before ") A" keeps the comment from swallowing it.
    QCOMPARE(records.recordCount(), 13);
    QCOMPARE(store.trace->texts(),
             (QList<QByteArray>{"Select *\r\nfrom tbl_Data -- every poem\r\norder by AZ desc",
                                "SELECT COUNT(*) FROM (\r\nSelect *\r\nfrom tbl_Data -- every poem\r\n\r\n) A"}));
}

void TestRecordSet::literalsReachTheEngineUnchanged_data()
{
    QTest::addColumn<QString>("literal");
    for (const char *literal : {"R&D", "A!!B", "a & b", "x:y", "{x}", "a--b", ":name", "?", "&Macro", "{fn x}", "it's"})
        QTest::newRow(literal) << QString::fromLatin1(literal);
}

void TestRecordSet::literalsReachTheEngineUnchanged()
{
    QFETCH(QString, literal);
    const QStringList titles = {literal, QStringLiteral("other")};
    StoreHarness store(fixture::makePoems(m_dir.path(), titles));
    const QString sql = "Select * from tbl_Data where CIM = " + sqlLiteral(literal);
    store.query(sql);
    store.records.open();

    QCOMPARE(store.records.recordCount(), 1);
    QCOMPARE(store.records.fieldText(QStringLiteral("CIM")), literal);
    QCOMPARE(store.trace->texts().value(0), sql.toUtf8());
}

void TestRecordSet::statementIsKeptUntilTheTextChanges()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    auto &records = store.records;
    sqlite3 *db = store.connection.handle();
    records.open();
    sqlite3_stmt *statement = sqlite3_next_stmt(db, nullptr);
    QVERIFY(statement);
    QVERIFY(sqlite3_stmt_busy(statement)); // rows remain to be read

    records.last();
    QVERIFY(!sqlite3_stmt_busy(statement)); // reset after the last row
    records.close();
    records.open();
    records.close(); // reset with rows still unread
    QVERIFY(!sqlite3_stmt_busy(statement));
    QCOMPARE(sqlite3_next_stmt(db, nullptr), statement);
    QCOMPARE(sqlite3_next_stmt(db, statement), nullptr);
    QCOMPARE(sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_RUN, 0), 2); // prepared once, run twice

    records.open();
    records.addSql(QStringLiteral("where AZ > 100")); // closes and finalizes
    QVERIFY(!records.isActive());
    QCOMPARE(sqlite3_next_stmt(db, nullptr), nullptr);
    records.open();
    QCOMPARE(records.recordCount(), 100);
}

void TestRecordSet::rowsAreReadInBatchesAsNeeded()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    auto &records = store.records;
    const auto rowsRead = [&] { return store.trace->rowsOf("Select * from tbl_Data"); };
    records.setWindowSize(&store.view, 30);
    records.open();
    QCOMPARE(rowsRead(), 50);
    QCOMPARE(records.recordCount(), 200); // counted by the engine, not by reading
    QCOMPARE(rowsRead(), 50);

    records.moveBy(49); // the window now ends on the 50th record
    QCOMPARE(rowsRead(), 50);
    records.next();
    QCOMPARE(rowsRead(), 100);
    records.goToRecord(120);
    QCOMPARE(rowsRead(), 150);
    records.last();
    QCOMPARE(rowsRead(), 200);
    records.first(); // going back never asks the engine again
    records.moveBy(199);
    QCOMPARE(rowsRead(), 200);
    QCOMPARE(store.trace->runsOf("Select * from tbl_Data"), 1);
}

void TestRecordSet::windowFollowsTheCursor()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    auto &records = store.records;
    records.setWindowSize(&store.view, 10);
    records.open();
    QCOMPARE(windowKeys(records), keyRange(1, 10));
    QCOMPARE(records.currentRow(), 0);
    store.view.notes.clear();

    QCOMPARE(records.moveBy(15), 15); // 9 rows inside the window, then it moves 6
    QCOMPARE(windowKeys(records), keyRange(7, 16));
    QCOMPARE(records.currentRow(), 9);
    QCOMPARE(records.moveBy(-12), -12);
    QCOMPARE(windowKeys(records), keyRange(4, 13));
    QCOMPARE(records.currentRow(), 0);
    QCOMPARE(records.moveBy(-10), -3); // runs into the beginning
    QCOMPARE(windowKeys(records), keyRange(1, 10));
    records.last();
    QCOMPARE(windowKeys(records), keyRange(191, 200));
    QCOMPARE(records.currentRow(), 9);
    QCOMPARE(records.moveBy(-3), -3);
    QCOMPARE(records.currentRow(), 6);

    QCOMPARE(store.view.notes, (QStringList{"scrolled -6 #16 --", "scrolled 3 #4 --", "scrolled 3 #1 B-",
                                            "changed #200 -E", "scrolled 0 #197 --"}));
}

void TestRecordSet::windowResizeKeepsTheCurrentRecord()
{
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    auto &records = store.records;
    const int otherView = 0;
    records.setWindowSize(&store.view, 10);
    records.open();
    records.moveBy(5);

    records.setWindowSize(&store.view, 3); // cut so that record 6 stays in
    QCOMPARE(windowKeys(records), keyRange(4, 6));
    records.setWindowSize(&store.view, 20); // filled after the current record
    QCOMPARE(windowKeys(records), keyRange(4, 23));
    QCOMPARE(records.currentRow(), 2);

    records.last();
    records.setWindowSize(&otherView, 30); // the largest wish wins; filled from before at the end
    QCOMPARE(windowKeys(records), keyRange(171, 200));
    QCOMPARE(records.currentRow(), 29);
    records.setWindowSize(&otherView, 0);
    records.setWindowSize(&store.view, 0); // no wishes left: one record
    QCOMPARE(windowKeys(records), QStringList{"200"});
    QCOMPARE(records.fieldText(QStringLiteral("AZ")), QStringLiteral("200"));
    QVERIFY(store.view.notes.endsWith(QStringLiteral("changed #200 -E"))); // resizing tells nobody
}

void TestRecordSet::fieldsComeFromTheSchema()
{
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    store.records.open();
    QStringList described;
    for (const store::Field &field : store.records.fields()) {
        described.append(QStringLiteral("%1 %2 %3%4%5%6")
                             .arg(field.name)
                             .arg(int(field.kind))
                             .arg(field.size)
                             .arg(field.autoIncrement ? " auto" : "")
                             .arg(field.primaryKey ? " key" : "")
                             .arg(field.nullable ? " null" : ""));
    }
    const auto kind = [](FieldKind kind) { return QString::number(int(kind)); };
    QCOMPARE(described, (QStringList{
                            "CIM " + kind(FieldKind::AnsiString) + " 400 null",
                            "VERS " + kind(FieldKind::WideMemo) + " 0 null",
                            "DATUM " + kind(FieldKind::FixedAnsiString) + " 150 null",
                            "FOTO " + kind(FieldKind::Blob) + " 0 null",
                            "AZ " + kind(FieldKind::Integer) + " 4 auto key",
                        }));
    QVERIFY(store.records.fieldIsNull(QStringLiteral("FOTO")));
    QVERIFY(!store.records.fieldIsNull(QStringLiteral("cim"))); // names match as the engine does
    QVERIFY_THROWS_EXCEPTION(store::StoreError, store.records.fieldText(QStringLiteral("NOPE")));
}

// Spacing, case, two-word names, names with digits and a second number all
// leave the kind and the size readable.
void TestRecordSet::declaredTypesAreReadInTheirUsualSpellings()
{
    StoreHarness store(m_dir.filePath(QStringLiteral("kinds.db")));
    QCOMPARE(sqlite3_exec(store.connection.handle(),
                          "CREATE TABLE kinds(a  varchar ( 40 ) , b Double Precision, c nchar(7),"
                          " d character varying(12), e VARCHAR2(5), f INT64, g mediumint,"
                          " h NUMERIC(10, 2), i decimal(-3))",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    store.query(QStringLiteral("Select * from kinds"));
    store.records.open();
    struct Expected {
        const char *name;
        FieldKind kind;
        int size;
    };
    const Expected expected[] = {
        {"a", FieldKind::AnsiString, 40},  {"b", FieldKind::Float, 8},        {"c", FieldKind::WideString, 7},
        {"d", FieldKind::AnsiString, 12},  {"e", FieldKind::AnsiString, 5},   {"f", FieldKind::LargeInteger, 8},
        {"g", FieldKind::Integer, 4},      {"h", FieldKind::Unknown, 0},      {"i", FieldKind::Unknown, 0},
    };
    const auto &fields = store.records.fields();
    QCOMPARE(fields.size(), std::size(expected));
    for (size_t column = 0; column < fields.size(); ++column) {
        QCOMPARE(fields[column].name, QLatin1String(expected[column].name));
        QCOMPARE(fields[column].kind, expected[column].kind);
        QCOMPARE(fields[column].size, expected[column].size);
    }
}

void TestRecordSet::eightBitTextKeepsEveryHungarianLetter()
{
    const QStringList titles = {QStringLiteral("ŐSZI ÁRNYAK ÚTJÁN"), QStringLiteral("ŰR ÉS ÍZ, ÖRÖM, ÜDV, ÓDA"),
                                QStringLiteral("árvíztűrő tükörfúrógép")};
    StoreHarness store(fixture::makePoems(m_dir.path(), titles));
    auto &records = store.records;
    records.setWindowSize(&store.view, 3);
    records.open();
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(records.windowText(row, QStringLiteral("CIM")), titles[row]);
        QCOMPARE(records.windowText(row, QStringLiteral("DATUM")), titles[row]);
    }
    records.last();
    QCOMPARE(records.fieldText(QStringLiteral("CIM")), titles[2]);
}

QTEST_GUILESS_MAIN(TestRecordSet)
#include "test_recordset.moc"
