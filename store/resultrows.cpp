#include "resultrows.h"

#include "busycursor.h"
#include "statement.h"

#include <sqlite3.h>

namespace store {

void ResultRows::start(Statement &statement, int columns)
{
    clear();
    m_statement = &statement;
    m_columns = columns;
    m_endReached = false;
}

void ResultRows::clear()
{
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_statement = nullptr;
    m_endReached = true;
}

bool ResultRows::reach(qsizetype count)
{
    while (size() < count && !m_endReached)
        readBatch();
    return size() >= count;
}

void ResultRows::readBatch()
{
    BusyCursor::Operation busy(m_busy);
    sqlite3_stmt *handle = m_statement->handle();
    for (int read = 0; read < batchSize; ++read) {
        bool more = false;
        try {
            more = m_statement->step();
        } catch (...) {
            // Stepping again after an error would start the result over.
            m_endReached = true;
            m_statement->reset();
            throw;
        }
        if (!more) {
            // The statement stays prepared for the next open.
            m_endReached = true;
            m_statement->reset();
            return;
        }
        Row row(static_cast<size_t>(m_columns));
        for (int column = 0; column < m_columns; ++column) {
            if (sqlite3_column_type(handle, column) == SQLITE_NULL)
                continue;
            // Text comes as the engine stores it (UTF-8); a blob comes as its bytes.
            const auto *bytes = static_cast<const char *>(sqlite3_column_blob(handle, column));
            row[size_t(column)] = QByteArray(bytes, sqlite3_column_bytes(handle, column));
        }
        m_rows.push_back(std::move(row));
    }
}

} // namespace store
