#include "field.h"

#include <sqlite3.h>

#include <QByteArray>

#include <string_view>

namespace store {

namespace {

struct DeclaredType {
    FieldKind kind = FieldKind::Unknown;
    int size = 0;
};

bool isAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Type names are words of letters, digits and underscores, with spaces
// between the words ("VARCHAR2", "CHARACTER VARYING").
bool isNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '_' || c == ' ';
}

// A declared type's name and first number: "VARCHAR(400)" gives VARCHAR and
// 400, "numeric (10, 2)" NUMERIC and 10, "INTEGER" INTEGER and 0. Text of any
// other form gives no name. Read by hand: a regular expression would cost its
// compilation during start-up.
struct TypeText {
    QByteArray name;
    int length = 0;
};

TypeText splitDeclaredType(std::string_view text)
{
    size_t at = 0;
    const auto take = [&](bool (*wanted)(char)) {
        const size_t from = at;
        while (at < text.size() && wanted(text[at]))
            ++at;
        return text.substr(from, at - from);
    };
    const auto takeChar = [&](char wanted) {
        take(isAsciiSpace);
        const bool found = at < text.size() && text[at] == wanted;
        if (found)
            ++at;
        return found;
    };

    take(isAsciiSpace);
    std::string_view name = take(isNameCharacter);
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    int length = 0;
    if (takeChar('(')) {
        take(isAsciiSpace);
        const std::string_view digits = take(isDigit);
        if (digits.empty())
            return {};
        length = QByteArray(digits.data(), qsizetype(digits.size())).toInt();
        if (takeChar(',')) {
            take(isAsciiSpace);
            if (take(isDigit).empty())
                return {};
        }
        if (!takeChar(')'))
            return {};
    }
    take(isAsciiSpace);
    if (at != text.size())
        return {};
    return {QByteArray(name.data(), qsizetype(name.size())).toUpper(), length};
}

// "VARCHAR(400)" -> 8-bit text of 400 characters, "INTEGER" -> 32-bit integer...
DeclaredType parseDeclaredType(const char *declared)
{
    if (!declared)
        return {};
    const auto [name, length] = splitDeclaredType(declared);

    if (name == "VARCHAR" || name == "VARCHAR2" || name == "CHARACTER VARYING")
        return {FieldKind::AnsiString, length};
    if (name == "CHAR" || name == "CHARACTER")
        return {FieldKind::FixedAnsiString, length};
    if (name == "NVARCHAR" || name == "NCHAR" || name == "NATIONAL CHARACTER")
        return {FieldKind::WideString, length};
    if (name == "TEXT" || name == "NTEXT" || name == "CLOB" || name == "MEMO")
        return {FieldKind::WideMemo, 0};
    if (name == "BLOB")
        return {FieldKind::Blob, 0};
    if (name == "BIGINT" || name == "INT64" || name == "LARGEINT")
        return {FieldKind::LargeInteger, 8};
    if (name.contains("INT"))
        return {FieldKind::Integer, 4};
    if (name == "REAL" || name == "FLOAT" || name == "DOUBLE" || name == "DOUBLE PRECISION")
        return {FieldKind::Float, 8};
    if (name.contains("CHAR"))
        return {FieldKind::AnsiString, length};
    return {};
}

} // namespace

std::vector<Field> describeColumns(sqlite3_stmt *statement)
{
    std::vector<Field> fields;
    const int columns = sqlite3_column_count(statement);
    fields.reserve(columns);
    for (int column = 0; column < columns; ++column) {
        const DeclaredType type = parseDeclaredType(sqlite3_column_decltype(statement, column));
        Field field{QString::fromUtf8(sqlite3_column_name(statement, column)), type.kind, type.size};

        const char *table = sqlite3_column_table_name(statement, column);
        if (table) {
            const char *declared = nullptr;
            int notNull = 0;
            int primaryKey = 0;
            int autoIncrement = 0;
            sqlite3_table_column_metadata(sqlite3_db_handle(statement),
                                          sqlite3_column_database_name(statement, column), table,
                                          sqlite3_column_origin_name(statement, column), &declared,
                                          nullptr, &notNull, &primaryKey, &autoIncrement);
            field.primaryKey = primaryKey != 0;
            field.autoIncrement = autoIncrement != 0;
            // An INTEGER PRIMARY KEY is the row id itself and can never be NULL,
            // although the schema need not say NOT NULL.
            const bool rowId = field.primaryKey && declared && sqlite3_stricmp(declared, "INTEGER") == 0;
            field.nullable = notNull == 0 && !rowId;
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

} // namespace store
