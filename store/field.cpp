#include "field.h"

#include <sqlite3.h>

#include <QRegularExpression>

namespace store {

namespace {

struct DeclaredType {
    FieldKind kind = FieldKind::Unknown;
    int size = 0;
};

// "VARCHAR(400)" -> 8-bit text of 400 characters, "INTEGER" -> 32-bit integer...
DeclaredType parseDeclaredType(const char *declared)
{
    if (!declared)
        return {};
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([A-Za-z_ ]*?)\s*(?:\(\s*(\d+)\s*(?:,\s*\d+\s*)?\))?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromUtf8(declared));
    const QString name = match.captured(1).toUpper();
    const int length = match.captured(2).toInt();

    if (name == u"VARCHAR" || name == u"VARCHAR2" || name == u"CHARACTER VARYING")
        return {FieldKind::AnsiString, length};
    if (name == u"CHAR" || name == u"CHARACTER")
        return {FieldKind::FixedAnsiString, length};
    if (name == u"NVARCHAR" || name == u"NCHAR" || name == u"NATIONAL CHARACTER")
        return {FieldKind::WideString, length};
    if (name == u"TEXT" || name == u"NTEXT" || name == u"CLOB" || name == u"MEMO")
        return {FieldKind::WideMemo, 0};
    if (name == u"BLOB")
        return {FieldKind::Blob, 0};
    if (name == u"BIGINT" || name == u"INT64" || name == u"LARGEINT")
        return {FieldKind::LargeInteger, 8};
    if (name.contains(u"INT"))
        return {FieldKind::Integer, 4};
    if (name == u"REAL" || name == u"FLOAT" || name == u"DOUBLE" || name == u"DOUBLE PRECISION")
        return {FieldKind::Float, 8};
    if (name.contains(u"CHAR"))
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
