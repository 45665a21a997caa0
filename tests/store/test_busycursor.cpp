#include "poemfixture.h"
#include "look/screencursor.h"
#include "storeerror.h"
#include "storeharness.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using store::BusyCursor;

bool waitCursorShown()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

// A step of a scenario: "open", "count", "move N", or any other text, which
// becomes the SQL text. A failing open is part of some scenarios.
void perform(store::RecordSet &records, const QString &step)
{
    if (step == u"open") {
        try {
            records.open();
        } catch (const store::StoreError &) {
        }
    } else if (step == u"count") {
        records.recordCount();
    } else if (step.startsWith(u"move ")) {
        records.moveBy(step.mid(5).toInt());
    } else {
        records.clearSql();
        records.addSql(step);
    }
}

// Milliseconds from now until the event loop takes the wait cursor away.
// Only the lower bound is checked; the limit here is for a reset that never
// comes, and generous, as a busy machine can fire a timer seconds late.
qint64 msUntilReset()
{
    QElapsedTimer clock;
    clock.start();
    while (waitCursorShown() && clock.elapsed() < 30000)
        QTest::qWait(1);
    return clock.elapsed();
}

} // namespace

class TestBusyCursor final : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(!waitCursorShown());
    }

    void engineWorkShowsTheWaitCursor_data();
    void engineWorkShowsTheWaitCursor();
    void aLaterOperationPostponesTheReset();
    void oneOverrideWhoeverSetsIt();
    void theWaitCursorIsTheCarriedPicture();

private:
    QTemporaryDir m_dir;
};

void TestBusyCursor::engineWorkShowsTheWaitCursor_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("shows");
    const QString tooLongLike = "Select * from tbl_Data where CIM like '%" + QString(50000, u'x') + "%'";

    QTest::newRow("open") << QStringList{} << "open" << true;
    QTest::newRow("count") << QStringList{"open"} << "count" << true;
    QTest::newRow("count asked again") << QStringList{"open", "count"} << "count" << false;
    QTest::newRow("move that reads a batch") << QStringList{"open"} << "move 60" << true;
    QTest::newRow("move among the rows read") << QStringList{"open", "move 40"} << "move -30" << false;
    QTest::newRow("open failing at the first row") << QStringList{tooLongLike} << "open" << true;
    QTest::newRow("open failing to prepare") << QStringList{"Select * frm tbl_Data"} << "open" << false;
}

void TestBusyCursor::engineWorkShowsTheWaitCursor()
{
    QFETCH(QStringList, before);
    QFETCH(QString, operation);
    QFETCH(bool, shows);
    ui::ScreenCursor screen;
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    store.records.setScreenCursor(screen);
    for (const QString &step : before)
        perform(store.records, step);
    QTRY_VERIFY(!waitCursorShown());

    perform(store.records, operation);
    if (!shows) {
        QVERIFY(!waitCursorShown());
        QTest::qWait(2 * BusyCursor::resetDelayMs);
        QVERIFY(!waitCursorShown());
        return;
    }
    // Still shown on return: only the event loop takes it away, and not before the delay.
    QVERIFY(waitCursorShown());
    const qint64 resetAfter = msUntilReset();
    QVERIFY(!waitCursorShown());
    QVERIFY2(resetAfter >= BusyCursor::resetDelayMs - 1, QByteArray::number(resetAfter));
}

void TestBusyCursor::aLaterOperationPostponesTheReset()
{
    ui::ScreenCursor screen;
    StoreHarness store(fixture::makePoems(m_dir.path(), 200));
    store.records.setScreenCursor(screen);
    store.records.open();
    QTest::qWait(BusyCursor::resetDelayMs / 2);
    store.records.recordCount();
    QVERIFY2(msUntilReset() >= BusyCursor::resetDelayMs - 1, "reset counted from the first operation");
}

void TestBusyCursor::oneOverrideWhoeverSetsIt()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    ui::ScreenCursor screen;
    StoreHarness store(fixture::copyCarried(m_dir.path()));
    store.records.setScreenCursor(screen);

    // The search page sets the wait cursor itself, then the record set works under it.
    screen.setSqlWait();
    store.records.open();
    store.records.recordCount();
    screen.setSqlWait();
    screen.setDefault(); // one restore undoes everything
    QVERIFY(!waitCursorShown());
    // The busy cursor's own reset still comes and finds nothing to undo.
    QTest::qWait(2 * BusyCursor::resetDelayMs);
    QVERIFY(!waitCursorShown());
}

void TestBusyCursor::theWaitCursorIsTheCarriedPicture()
{
    ui::ScreenCursor screen;
    screen.setSqlWait();
    QVERIFY(screen.isSqlWait());
    const QCursor *cursor = QGuiApplication::overrideCursor();
    QVERIFY(cursor);
    QCOMPARE(cursor->shape(), Qt::BitmapCursor);
    QCOMPARE(cursor->pixmap().size(), QSize(32, 32));
    QCOMPARE(cursor->hotSpot(), QPoint(16, 10)); // the neck of the hourglass
    screen.setDefault();
    QVERIFY(!screen.isSqlWait());
}

QTEST_MAIN(TestBusyCursor)
#include "test_busycursor.moc"
