#include "statement.h"

#include "storeerror.h"

#include <sqlite3.h>

#include <utility>

namespace store {

Statement::Statement(sqlite3 *db, const QByteArray &sql) : m_db(db)
{
    // The byte count spares the engine a search for the end; it still stops
    // at the first zero byte, so a zero inside the text (pasted into a search
    // term, say) cuts the statement short there, and the engine rejects what
    // is left ("unrecognized token" for a quote that is never closed).
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
        throwEngineError(db, "cannot prepare statement");
}

Statement::~Statement()
{
    finalize();
}

Statement::Statement(Statement &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        finalize();
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throwEngineError(m_db, "cannot execute statement");
}

void Statement::reset()
{
    if (m_stmt)
        sqlite3_reset(m_stmt);
}

void Statement::finalize()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

} // namespace store
