// The titles read as they are stored whatever the system's ANSI code page:
// run under Windows-1252, which has no "Ő" or "ű", and under Windows-1250.
#include "program.h"
#include "testmain.h"
#include "widgets/dbgrid.h"

#include <QTest>

#include <sqlite3.h>
#include <windows.h>

namespace {

// The titles as the engine stores them, in their order.
QStringList storedTitles()
{
    sqlite3 *db = nullptr;
    QStringList titles;
    sqlite3_open_v2(VARGORIN_CARRIED_DB, &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT CIM FROM tbl_Data ORDER BY AZ", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW)
        titles << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return titles;
}

} // namespace

class CodePageTest final : public QObject {
    Q_OBJECT

private slots:
    void titlesShowAsStored()
    {
        const int expected = qEnvironmentVariableIntValue("VARGORIN_EXPECTED_ACP");
        QVERIFY2(expected > 0, "VARGORIN_EXPECTED_ACP names the code page the run is for");
        QCOMPARE(int(GetACP()), expected);

        const QStringList stored = storedTitles();
        QVERIFY(stored.contains(QStringLiteral("AZ IDŐ KERTJE")));
        StartedProgram run;
        TForm1 &form = run.program.form;
        QStringList shown;
        for (int row = 0; row < stored.size(); ++row)
            shown << form.DBGrid1->rowText(row);
        QCOMPARE(shown, stored);

        // The detail window's title, on the poem whose title has an "Ő".
        const int withO = int(stored.indexOf(QStringLiteral("AZ IDŐ KERTJE")));
        for (int row = 0; row < withO; ++row)
            QTest::keyClick(form.DBGrid1, Qt::Key_Down);
        QTimer::singleShot(0, [&] {
            QCOMPARE(run.program.detail.Label1->text(), QStringLiteral("AZ IDŐ KERTJE"));
            run.program.detail.close();
        });
        form.DBGrid1DblClick();
    }
};

VARGORIN_TEST_MAIN(CodePageTest)
#include "tst_codepage.moc"
