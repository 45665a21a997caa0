#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct sqlite3;

namespace store {

// The one connection to the poem database. Its settings are fixed: the
// database file is opened read-write-create and tuned by exactly five PRAGMA
// statements; nothing else is sent on open.
class Connection final {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Replaces the database path. Only meaningful while closed. The engine
    // gets the path as bytes: a path given as text goes as UTF-8, one given
    // as the file system's own bytes (a folder whose name is not UTF-8) as is.
    void setDatabase(const QString &path) { m_database = path.toUtf8(); }
    void setDatabase(const QByteArray &nativePath) { m_database = nativePath; }
    const QByteArray &database() const { return m_database; }

    void open();   // throws StoreError; stays closed on failure
    void close();  // throws StoreError when the engine cannot close; closed all the same
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Record sets register a closer so that closing the connection closes
    // them first and releases their statements before the engine handle goes.
    using Closer = std::function<void()>;
    void addDependent(const void *owner, Closer closer);
    void removeDependent(const void *owner);

    // The exact setting statements run on every open, in order.
    static const std::vector<QByteArray> &settingStatements();

private:
    void runSetting(const QByteArray &sql);

    QByteArray m_database;
    sqlite3 *m_db = nullptr;
    std::vector<std::pair<const void *, Closer>> m_dependents;
};

} // namespace store
