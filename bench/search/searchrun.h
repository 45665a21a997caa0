#pragma once

#include "forms/Unit1.h"
#include "countingtext.h"

#include <sqlite3.h>

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <stdexcept>
#include <vector>

// What both search benchmarks measure: the reader's search from the click on
// the button to the title grid repainted, and the same statement on a bare
// engine connection of its own.
namespace searchrun {

inline double millisecondsSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The line the search button sends for a term, built here by hand.
inline QByteArray searchStatement(const QString &term)
{
    QString pattern = u'%' + term + u'%';
    const QString literal = u'\'' + pattern.replace(u'\'', QStringLiteral("''")) + u'\'';
    return (QStringLiteral("Select * FROM tbl_Data WHERE CIM like ") + literal + QStringLiteral(" or DATUM like ")
            + literal + QStringLiteral(" or VERS like ") + literal)
        .toUtf8();
}

inline double searchThroughButton(TForm1 &form, const QString &term)
{
    form.Keress1->trigger();
    form.Edit1->setText(term);
    QCoreApplication::processEvents(); // the page switch is painted before the clock starts
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    form.DBGrid1->repaint();
    return millisecondsSince(clock);
}

// A plain engine connection with its defaults, on a file of its own.
class BareEngine final {
public:
    explicit BareEngine(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("bench: cannot open " + path.toStdString());
    }
    ~BareEngine() { sqlite3_close(m_db); }
    BareEngine(const BareEngine &) = delete;
    BareEngine &operator=(const BareEngine &) = delete;

    // Prepares `statement` and steps it to the end; `row` sees each row.
    template <typename Row>
    void run(const QByteArray &statement, Row &&row)
    {
        sqlite3_stmt *prepared = nullptr;
        if (sqlite3_prepare_v2(m_db, statement.constData(), int(statement.size()), &prepared, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("bench: ") + sqlite3_errmsg(m_db));
        while (sqlite3_step(prepared) == SQLITE_ROW)
            row(prepared);
        sqlite3_finalize(prepared);
    }

    void scan(const QByteArray &statement)
    {
        run(statement, [](sqlite3_stmt *) {});
    }

    int count(const QByteArray &statement)
    {
        int rows = 0;
        run(store::countingText(statement), [&](sqlite3_stmt *prepared) { rows = sqlite3_column_int(prepared, 0); });
        return rows;
    }

private:
    sqlite3 *m_db = nullptr;
};

} // namespace searchrun
