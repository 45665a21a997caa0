#pragma once

#include <QString>

#include <vector>

struct sqlite3_stmt;

namespace store {

// What a result column holds, taken from the type the schema declares for it.
enum class FieldKind {
    Integer,       // 32-bit signed
    LargeInteger,  // 64-bit signed
    Float,
    AnsiString,    // 8-bit text, shown as stored whatever the code page
    FixedAnsiString,
    WideString,
    WideMemo,      // text of any length
    Blob,
    Unknown,       // no declared type (an expression): shown as text
};

struct Field {
    QString name;
    FieldKind kind = FieldKind::Unknown;
    int size = 0;  // declared length of text fields, byte width of numbers, else 0
    bool autoIncrement = false;
    bool primaryKey = false;
    bool nullable = true;
};

// One field per result column of a prepared statement. The attributes come
// from the engine's metadata of the base table column, when there is one.
std::vector<Field> describeColumns(sqlite3_stmt *statement);

} // namespace store
