#include "connection.h"

#include "statement.h"
#include "storeerror.h"

#include <sqlite3.h>

#include <algorithm>

namespace store {

void throwEngineError(sqlite3 *db, const std::string &what)
{
    const char *message = db ? sqlite3_errmsg(db) : "out of memory";
    throw StoreError(what + ": " + message);
}

namespace {

// Shared-cache mode is a process-wide engine switch, made once before the first open.
void prepareEngineOnce()
{
    static const bool prepared = [] {
        sqlite3_initialize();
        // Deprecated upstream, but it is the process-wide switch the reader's
        // engine settings ask for; connections opened here therefore share one cache.
        sqlite3_enable_shared_cache(1);
        return true;
    }();
    (void)prepared;
}

} // namespace

Connection::~Connection()
{
    try {
        close();
    } catch (const StoreError &) {
        // Destruction happens as the program ends: there is nobody left to tell.
    }
}

const std::vector<QByteArray> &Connection::settingStatements()
{
    static const std::vector<QByteArray> statements = {
        "PRAGMA cache_size = 500",
        "PRAGMA locking_mode = Exclusive",
        "PRAGMA synchronous = Off",
        "PRAGMA journal_mode = Off",
        "PRAGMA foreign_keys = On",
    };
    return statements;
}

void Connection::open()
{
    if (isOpen())
        return;
    prepareEngineOnce();

    sqlite3 *db = nullptr;
    const QByteArray &path = m_database;
    const int rc = sqlite3_open_v2(path.constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        throw StoreError("cannot open database \"" + path.toStdString() + "\": " + message);
    }
    sqlite3_extended_result_codes(db, 1);
    m_db = db;
    try {
        for (const QByteArray &sql : settingStatements())
            runSetting(sql);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

void Connection::runSetting(const QByteArray &sql)
{
    Statement statement(m_db, sql);
    statement.step(); // a result row, if any, carries nothing we need
}

void Connection::close()
{
    if (!isOpen())
        return;
    // Dependents may unregister themselves while being closed: work on a copy.
    const auto dependents = m_dependents;
    for (const auto &[owner, closer] : dependents)
        closer();
    sqlite3 *db = m_db;
    m_db = nullptr; // closed from here on, even if the engine complains below
    if (sqlite3_close(db) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close_v2(db); // let the engine finish the close once it can
        throw StoreError("cannot close database: " + message);
    }
}

void Connection::addDependent(const void *owner, Closer closer)
{
    removeDependent(owner);
    m_dependents.emplace_back(owner, std::move(closer));
}

void Connection::removeDependent(const void *owner)
{
    std::erase_if(m_dependents, [owner](const auto &entry) { return entry.first == owner; });
}

} // namespace store
