#pragma once

#include <QByteArray>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// A prepared engine statement, finalized when it goes out of scope.
class Statement final {
public:
    Statement() = default;
    Statement(sqlite3 *db, const QByteArray &sql); // throws StoreError
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Returns true while a row is available, false at the end; throws on error.
    bool step();
    void reset();
    void finalize();
    bool isPrepared() const { return m_stmt != nullptr; }
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace store
