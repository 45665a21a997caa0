#pragma once

#include <QByteArray>

#include <limits>
#include <optional>
#include <vector>

namespace store {

class BusyCursor;
class Statement;

// A column value as the engine gave it: its UTF-8 text (or bytes), or nothing for NULL.
using Value = std::optional<QByteArray>;
using Row = std::vector<Value>;

// The rows of one open result. They are read from the engine only when asked
// for, a batch at a time, and kept in result order, so going back never needs
// the engine and memory grows only with the rows actually read.
class ResultRows final {
public:
    static constexpr int batchSize = 50;

    explicit ResultRows(BusyCursor &busy) : m_busy(busy) {}

    // Starts reading the executing statement; nothing is read yet.
    void start(Statement &statement, int columns);
    // Drops every row read and lets go of the statement.
    void clear();

    // Reads batches until `count` rows are held or the result ends; says whether they are held.
    bool reach(qsizetype count);
    void readAll() { reach(std::numeric_limits<qsizetype>::max()); }

    qsizetype size() const { return qsizetype(m_rows.size()); }
    const Row &at(qsizetype index) const { return m_rows[size_t(index)]; }

private:
    void readBatch();

    BusyCursor &m_busy;
    Statement *m_statement = nullptr;
    int m_columns = 0;
    bool m_endReached = true;
    std::vector<Row> m_rows;
};

} // namespace store
