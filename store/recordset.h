#pragma once

#include "busycursor.h"
#include "field.h"
#include "resultrows.h"
#include "statement.h"

#include <QObject>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace store {

class Connection;

// The one record set every view follows: a query with one cursor, begin and
// end markers, a kept record count and a window of records buffered around the
// current one for the views that show several records at once.
//
// Notifications are synchronous: views update inside the call that changed the
// cursor. Every engine operation (executing on open, each batch of rows, the
// count) runs under the busy cursor.
class RecordSet final : public QObject {
    Q_OBJECT
public:
    // The query a new record set starts with: every poem.
    static constexpr const char *baseQuery = "Select * from tbl_Data";

    explicit RecordSet(Connection &connection, QObject *parent = nullptr);
    ~RecordSet() override;

    // The statement is these lines joined with CR LF and goes to the engine as
    // typed. Changing it closes the record set and finalizes its statement.
    QStringList sql() const { return m_sql; }
    void clearSql();
    void addSql(const QString &line);

    // Opens the connection first when it is closed. Throws StoreError and
    // stays inactive when the connection or the engine fails.
    void open();
    void close();
    bool isActive() const { return m_active; }
    // No current record; so is an inactive record set.
    bool isEmpty() const { return !m_active || m_windowCount == 0; }

    // Rows of the whole result, counted by the engine once per open; 0 while inactive.
    int recordCount();
    // 1-based position of the current record; 0 when there is none.
    int recordNumber() const;
    // Begin and end markers; both are set while inactive.
    bool bof() const { return !m_active || m_bof; }
    bool eof() const { return !m_active || m_eof; }

    void first();
    void last();
    // Moves |n| records at most; returns how far it moved (signed).
    int moveBy(int n);
    void next() { moveBy(1); }
    void prior() { moveBy(-1); }
    void goToRecord(int number);

    const std::vector<Field> &fields() const { return m_fields; }
    // The current record's field; an inactive or empty record set reads as NULL.
    // Throws StoreError for a name the result does not have.
    QString fieldText(const QString &name) const;
    bool fieldIsNull(const QString &name) const;

    // Each view says how many records it shows (0 or less withdraws the wish);
    // the window holds as many as the largest wish, at least one. Resizing
    // sends no notification: the view that asked reads the window itself.
    void setWindowSize(const void *view, int rows);
    int windowCount() const { return m_active ? int(m_windowCount) : 0; }
    int currentRow() const { return int(m_currentRow); }
    QString windowText(int row, const QString &field) const;

    void setScreenCursor(ScreenCursor &screen) { m_busy.setScreenCursor(screen); }

signals:
    void stateChanged(bool active);
    void dataSetChanged();
    // How many records the window moved towards the beginning (negative: towards the end).
    void scrolledBy(int distance);

private:
    void changeSql();
    QByteArray statementText() const { return m_sql.join(QStringLiteral("\r\n")).toUtf8(); }
    bool hasRecords() const { return m_windowCount > 0; }
    qsizetype windowSize() const;
    qsizetype currentIndex() const { return m_windowStart + m_currentRow; }
    void placeWindow(qsizetype start, qsizetype current);
    void centreWindowOn(qsizetype index);
    void resizeWindow();
    void resetWindow();
    bool stepForward(int &scrolled);
    bool stepBackward(int &scrolled);
    int fieldIndex(const QString &name) const;
    const Value *value(qsizetype index, const QString &name) const;
    QString textAt(qsizetype index, const QString &name) const;

    Connection &m_connection;
    QStringList m_sql{QString::fromLatin1(baseQuery)};
    Statement m_statement;
    BusyCursor m_busy;
    ResultRows m_rows{m_busy};
    std::vector<Field> m_fields;
    std::optional<int> m_count;
    std::map<const void *, int> m_windowWishes;

    bool m_active = false;
    bool m_bof = true;
    bool m_eof = true;
    // The window is rows [m_windowStart, m_windowStart + m_windowCount) of the result.
    qsizetype m_windowStart = 0;
    qsizetype m_windowCount = 0;
    qsizetype m_currentRow = 0; // inside the window
};

} // namespace store
