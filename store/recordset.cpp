#include "recordset.h"

#include "connection.h"
#include "countingtext.h"
#include "storeerror.h"

#include <sqlite3.h>

#include <QScopeGuard>

#include <algorithm>

namespace store {

RecordSet::RecordSet(Connection &connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    // Closing the connection must close us first and finalize our statement,
    // or the engine could not close.
    m_connection.addDependent(this, [this] {
        close();
        m_statement.finalize();
    });
}

RecordSet::~RecordSet()
{
    m_connection.removeDependent(this);
    // The views may be going away too: close without telling them.
    blockSignals(true);
    close();
}

void RecordSet::clearSql()
{
    changeSql();
    m_sql.clear();
}

void RecordSet::addSql(const QString &line)
{
    changeSql();
    m_sql.append(line);
}

void RecordSet::changeSql()
{
    close();
    m_statement.finalize();
}

void RecordSet::open()
{
    if (m_active)
        return;
    m_connection.open();
    if (!m_statement.isPrepared())
        m_statement = Statement(m_connection.handle(), statementText());
    try {
        BusyCursor::Operation busy(m_busy);
        m_fields = describeColumns(m_statement.handle());
        m_rows.start(m_statement, int(m_fields.size()));
        placeWindow(0, 0);
    } catch (...) {
        resetWindow();
        m_statement.reset();
        throw;
    }
    m_count.reset();
    m_bof = true;
    m_eof = !hasRecords();
    m_active = true;
    emit stateChanged(true);
}

void RecordSet::close()
{
    if (!m_active)
        return;
    m_active = false;
    // Views learn of the close before the rows go, so none paints a half-closed set.
    emit stateChanged(false);
    m_statement.reset();
    resetWindow();
    m_count.reset();
}

void RecordSet::resetWindow()
{
    m_rows.clear();
    m_fields.clear();
    m_windowStart = m_windowCount = m_currentRow = 0;
    m_bof = m_eof = true;
}

int RecordSet::recordCount()
{
    if (!m_active)
        return 0;
    if (!m_count) {
        BusyCursor::Operation busy(m_busy);
        Statement counting(m_connection.handle(), countingText(statementText()));
        m_count = counting.step() ? sqlite3_column_int(counting.handle(), 0) : 0;
    }
    return *m_count;
}

int RecordSet::recordNumber() const
{
    return isEmpty() ? 0 : int(currentIndex() + 1);
}

qsizetype RecordSet::windowSize() const
{
    int size = 1;
    for (const auto &[view, rows] : m_windowWishes)
        size = std::max(size, rows);
    return size;
}

// The window from `start` on, as full as the result allows; the current
// record is the one at `current` when there is any.
void RecordSet::placeWindow(qsizetype start, qsizetype current)
{
    m_rows.reach(start + windowSize());
    m_windowStart = start;
    m_windowCount = std::clamp(m_rows.size() - start, qsizetype(0), windowSize());
    m_currentRow = m_windowCount == 0 ? 0 : current - start;
}

void RecordSet::centreWindowOn(qsizetype index)
{
    const qsizetype size = windowSize();
    qsizetype start = std::max(qsizetype(0), index - (size - 1) / 2);
    m_rows.reach(start + size);
    // Near the end of the result the window fills up from before the record instead.
    start = std::max(qsizetype(0), std::min(start, m_rows.size() - size));
    placeWindow(start, index);
}

void RecordSet::first()
{
    placeWindow(0, 0);
    m_bof = true;
    m_eof = !hasRecords();
    emit dataSetChanged();
}

void RecordSet::last()
{
    m_rows.readAll();
    const qsizetype lastIndex = m_rows.size() - 1;
    placeWindow(std::max(qsizetype(0), m_rows.size() - windowSize()), lastIndex);
    m_bof = !hasRecords();
    m_eof = true;
    emit dataSetChanged();
}

int RecordSet::moveBy(int n)
{
    if (n == 0 || (n > 0 && m_eof) || (n < 0 && m_bof))
        return 0;
    m_bof = m_eof = false;
    const qsizetype countBefore = m_windowCount;
    int moved = 0;
    int scrolled = 0;
    // Views hear of the steps made even when reading a batch fails half-way.
    const auto notify = qScopeGuard([&] {
        if (m_windowCount == countBefore)
            emit scrolledBy(scrolled);
        else
            emit dataSetChanged();
    });
    for (; moved < n; ++moved) {
        if (!stepForward(scrolled)) {
            m_eof = true;
            break;
        }
    }
    for (; moved > n; --moved) {
        if (!stepBackward(scrolled)) {
            m_bof = true;
            break;
        }
    }
    return moved;
}

bool RecordSet::stepForward(int &scrolled)
{
    if (m_currentRow + 1 < m_windowCount) {
        ++m_currentRow;
        return true;
    }
    if (!m_rows.reach(m_windowStart + m_windowCount + 1))
        return false;
    if (m_windowCount < windowSize()) {
        ++m_windowCount;
        ++m_currentRow;
    } else {
        ++m_windowStart;
        --scrolled;
    }
    return true;
}

bool RecordSet::stepBackward(int &scrolled)
{
    if (m_currentRow > 0) {
        --m_currentRow;
        return true;
    }
    if (m_windowStart == 0)
        return false;
    --m_windowStart;
    if (m_windowCount < windowSize())
        ++m_windowCount;
    else
        ++scrolled;
    return true;
}

void RecordSet::goToRecord(int number)
{
    if (number == recordNumber() && !(number == 1 && m_bof))
        return;
    if (number > 1)
        m_rows.reach(number);
    const qsizetype target = std::clamp(qsizetype(number), qsizetype(1), std::max(m_rows.size(), qsizetype(1))) - 1;
    centreWindowOn(target);
    m_bof = m_eof = !hasRecords();
    emit dataSetChanged();
}

void RecordSet::setWindowSize(const void *view, int rows)
{
    if (rows > 0)
        m_windowWishes[view] = rows;
    else
        m_windowWishes.erase(view);
    if (m_active)
        resizeWindow();
}

// Keeps the current record and its place as far as the new size allows:
// a smaller window is cut from the end (or shifted so the current record stays
// in it); a larger one is filled from the result after it, then before it.
void RecordSet::resizeWindow()
{
    if (!hasRecords())
        return;
    const qsizetype size = windowSize();
    const qsizetype current = currentIndex();
    if (m_windowCount > size) {
        placeWindow(std::max(m_windowStart, current - size + 1), current);
    } else if (m_windowCount < size) {
        m_rows.reach(m_windowStart + size);
        const qsizetype after = std::min(m_rows.size() - m_windowStart, size);
        placeWindow(std::max(qsizetype(0), m_windowStart - (size - after)), current);
    }
}

int RecordSet::fieldIndex(const QString &name) const
{
    const auto found = std::find_if(m_fields.begin(), m_fields.end(), [&](const Field &field) {
        return field.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (found == m_fields.end())
        throw StoreError("field not found: " + name.toStdString());
    return int(found - m_fields.begin());
}

const Value *RecordSet::value(qsizetype index, const QString &name) const
{
    if (!m_active || index < 0 || index >= m_rows.size())
        return nullptr;
    const Value &value = m_rows.at(index)[size_t(fieldIndex(name))];
    return value ? &value : nullptr;
}

// Every field's text is the engine's UTF-8 decoded, as stored, whatever the
// system's 8-bit code page: passed through Windows-1252 (most of Western
// Europe and America), "Ő" and "ű" would turn into other letters. The 8-bit
// fields keep their declared kinds and sizes all the same.
QString RecordSet::textAt(qsizetype index, const QString &name) const
{
    const Value *found = value(index, name);
    return found ? QString::fromUtf8(**found) : QString();
}

QString RecordSet::fieldText(const QString &name) const
{
    return textAt(isEmpty() ? -1 : currentIndex(), name);
}

bool RecordSet::fieldIsNull(const QString &name) const
{
    return value(isEmpty() ? -1 : currentIndex(), name) == nullptr;
}

QString RecordSet::windowText(int row, const QString &field) const
{
    if (row < 0 || row >= m_windowCount)
        return {};
    return textAt(m_windowStart + row, field);
}

} // namespace store
