// The search page on the carried poems: what a term finds, how it reaches
// the engine, the count, the reset, and a search the engine refuses.
#include "boxwatcher.h"
#include "program.h"
#include "testmain.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

namespace {

QList<int> keysOfResult(store::RecordSet &query)
{
    QList<int> keys;
    if (!query.isActive() || query.isEmpty())
        return keys;
    query.first();
    while (!query.eof()) {
        keys << query.fieldText(QStringLiteral("AZ")).toInt();
        query.next();
    }
    query.first();
    return keys;
}

// One format for comparing pictures, in which every transparent pixel is alike.
QImage pixels(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QList<int> allKeys()
{
    QList<int> keys;
    for (int key = 693; key <= 705; ++key)
        keys << key;
    return keys;
}

} // namespace

class SearchTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<StartedProgram> m_run;
    TForm1 &form() { return m_run->program.form; }

    void search(const QString &term)
    {
        form().Keress1->trigger();
        form().Edit1->setText(term);
        QTest::mouseClick(form().BitBtn1, Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_run = std::make_unique<StartedProgram>();
    }

    void cleanup()
    {
        m_run.reset();
    }

    void termsFindTheirPoems_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QList<int>>("keys");
        QTest::newRow("empty") << "" << allKeys();
        QTest::newRow("kék") << "kék" << QList<int>{700, 702, 705};
        QTest::newRow("Kék") << "Kék" << QList<int>{700, 702, 705};
        QTest::newRow("KÉK") << "KÉK" << QList<int>{702, 705};
        QTest::newRow("IDŐ") << "IDŐ" << QList<int>{703};
        QTest::newRow("idő") << "idő" << QList<int>{695, 700, 702, 703};
        QTest::newRow("underscore") << "_" << allKeys();
        QTest::newRow("percent") << "%" << allKeys();
        QTest::newRow("apostrophe") << "'" << QList<int>{};
        QTest::newRow("xyz") << "xyz" << QList<int>{};
        QTest::newRow("one space") << " " << allKeys();
        for (const char *literal : {"R&D", "a:b", "{x}", "end!", "a--b", "x/*y", "back\\slash", "\"q\""})
            QTest::newRow(literal) << QString::fromUtf8(literal) << QList<int>{};
    }

    // The count, the page and the grid's result all follow the search; the
    // term keeps its place in the box.
    void termsFindTheirPoems()
    {
        QFETCH(QString, term);
        QFETCH(QList<int>, keys);
        BoxWatcher watcher;
        search(term);
        QVERIFY(watcher.seen().empty());
        QCOMPARE(form().Label12->text(), QString::number(keys.size()));
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(form().Edit1->text(), term);
        QCOMPARE(keysOfResult(form().FDQuery1), keys);
    }

    void queryTextIsBuiltExactly_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("line");
        QTest::newRow("RÓZSA") << "RÓZSA"
                               << "Select * FROM tbl_Data WHERE CIM like '%RÓZSA%' or DATUM like "
                                  "'%RÓZSA%' or VERS like '%RÓZSA%'";
        QTest::newRow("a'b") << "a'b"
                             << "Select * FROM tbl_Data WHERE CIM like '%a''b%' or DATUM like "
                                "'%a''b%' or VERS like '%a''b%'";
        QTest::newRow("spaces kept") << "  x "
                                     << "Select * FROM tbl_Data WHERE CIM like '%  x %' or DATUM like "
                                        "'%  x %' or VERS like '%  x %'";
    }

    void queryTextIsBuiltExactly()
    {
        QFETCH(QString, term);
        QFETCH(QString, line);
        search(term);
        QCOMPARE(form().FDQuery1.sql(), QStringList{line});
    }

    void resetBringsBackEveryPoem()
    {
        search(QStringLiteral("xyz"));
        QCOMPARE(form().Label12->text(), QStringLiteral("0"));
        form().Keress1->trigger();
        QTest::mouseClick(form().BitBtn2, Qt::LeftButton);
        QTest::mouseClick(form().BitBtn2, Qt::LeftButton); // twice is the same as once
        QCOMPARE(form().Label12->text(), QStringLiteral("13"));
        QCOMPARE(form().Edit1->text(), QString());
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(form().FDQuery1.sql(), QStringList{QStringLiteral("Select * from tbl_Data")});
        QCOMPARE(keysOfResult(form().FDQuery1), allKeys());
    }

    // The SQL wait cursor is up before the record set closes, stays up while
    // every statement of a search or a reset runs (seen from inside the
    // engine's trace hook) and is gone when the click returns.
    void searchAndResetShowTheSqlWaitCursorWhileTheEngineWorks()
    {
        QStringList seen;
        const auto look = [&seen](const char *moment) {
            const QCursor *shown = QGuiApplication::overrideCursor();
            const bool sqlWait = shown && shown->hotSpot() == QPoint(16, 10)
                && pixels(shown->pixmap().toImage()) == pixels(QImage(QStringLiteral(VARGORIN_SOURCE_DIR "/resources/art/sqlwait-32.png")));
            seen << QLatin1String(moment) + (sqlWait ? QStringLiteral(": wait") : QStringLiteral(": none"));
        };
        connect(&form().DataSource1, &store::DataSource::stateChanged, this,
                [&](bool active) { look(active ? "opened" : "closed"); });
        const auto onStatement = [](unsigned, void *lookAt, void *, void *) {
            (*static_cast<decltype(look) *>(lookAt))("statement");
            return 0;
        };
        sqlite3_trace_v2(form().FDConnection1.handle(), SQLITE_TRACE_STMT, onStatement, (void *)&look);

        search(QStringLiteral("kék"));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QTest::mouseClick(form().BitBtn2, Qt::LeftButton);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        sqlite3_trace_v2(form().FDConnection1.handle(), 0, nullptr, nullptr);

        // The query and its count both run before the views hear of the open.
        const QStringList oneRun{"closed: wait", "statement: wait", "statement: wait", "opened: wait"};
        QCOMPARE(seen, oneRun + oneRun);
    }

    // A pattern over the engine's limit: the error box shows the engine's
    // words, the result is gone, the count stays, and the wait cursor leaves
    // through the record set's own reset.
    void patternTooLongIsReportedAndLosesNothing()
    {
        search(QStringLiteral("kék"));
        QCOMPARE(form().Label12->text(), QStringLiteral("3"));

        BoxWatcher watcher;
        search(QString(50000, u'a'));
        QCOMPARE(watcher.seen().size(), size_t(1));
        const BoxWatcher::Seen &box = watcher.seen().front();
        QVERIFY2(box.text.contains(QStringLiteral("LIKE or GLOB pattern too complex")), qPrintable(box.text));
        QVERIFY(box.text.endsWith(u'.'));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QVERIFY(!form().FDQuery1.isActive());
        QCOMPARE(form().Label12->text(), QStringLiteral("3"));
        QCOMPARE(form().PageControl1->currentIndex(), 1);
        QTRY_VERIFY(!QGuiApplication::overrideCursor());

        search(QStringLiteral("idő"));
        QCOMPARE(form().Label12->text(), QStringLiteral("4"));
    }

    void buttonsShowTheirGlyphs_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("picture");
        QTest::newRow("search") << "BitBtn1" << "search";
        QTest::newRow("reset") << "BitBtn2" << "reset";
    }

    // A 16 x 16 picture for each button, with its grey image while disabled.
    void buttonsShowTheirGlyphs()
    {
        QFETCH(QString, button);
        QFETCH(QString, picture);
        const auto *target = form().findChild<QPushButton *>(button);
        QVERIFY(target);
        QCOMPARE(target->iconSize(), QSize(16, 16));
        const auto image = [&](QIcon::Mode mode) {
            return pixels(target->icon().pixmap(16, mode).toImage());
        };
        const auto art = [&](const char *state) {
            return pixels(QImage(QStringLiteral(VARGORIN_SOURCE_DIR "/resources/art/%1-%2.png").arg(picture, QLatin1String(state))));
        };
        QCOMPARE(image(QIcon::Normal), art("normal"));
        QCOMPARE(image(QIcon::Disabled), art("disabled"));
    }

    void enterInTheTermBoxStartsNothing()
    {
        form().Keress1->trigger();
        form().Edit1->setText(QStringLiteral("xyz"));
        form().Edit1->setFocus();
        QTest::keyClick(form().Edit1, Qt::Key_Return);
        QCOMPARE(form().Label12->text(), QStringLiteral("13"));
        QCOMPARE(form().PageControl1->currentIndex(), 1);
    }
};

VARGORIN_TEST_MAIN(SearchTest)
#include "tst_search.moc"
