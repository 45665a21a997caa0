#include "likereference.h"

#include <sqlite3.h>

#include <QUrl>

#include <stdexcept>

namespace reference {

namespace {

char32_t foldAscii(char32_t c)
{
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

std::optional<std::u32string> column(sqlite3_stmt *statement, int index)
{
    if (sqlite3_column_type(statement, index) == SQLITE_NULL)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, index));
    return codePoints(QString::fromUtf8(bytes, sqlite3_column_bytes(statement, index)));
}

} // namespace

// Greedy matching that falls back to the last "%" seen: a later "%" can
// absorb whatever an earlier one would have, so one fallback point is enough.
bool likeMatches(std::u32string_view pattern, std::u32string_view text)
{
    constexpr size_t none = std::u32string_view::npos;
    size_t p = 0;
    size_t t = 0;
    size_t afterPercent = none;
    size_t resumeText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == U'%') {
            afterPercent = ++p;
            resumeText = t;
        } else if (p < pattern.size() && (pattern[p] == U'_' || foldAscii(pattern[p]) == foldAscii(text[t]))) {
            ++p;
            ++t;
        } else if (afterPercent != none) {
            p = afterPercent;
            t = ++resumeText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'%')
        ++p;
    return p == pattern.size();
}

std::u32string codePoints(const QString &text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

std::vector<Poem> readPoems(const QString &path)
{
    // immutable=1: no lock is taken and nothing is ever written to the file.
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(path, "/") + "?mode=ro&immutable=1";
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    std::vector<Poem> poems;
    const bool ok = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, "SELECT AZ, CIM, DATUM, VERS FROM tbl_Data ORDER BY AZ", -1, &statement,
                              nullptr) == SQLITE_OK;
    while (ok && sqlite3_step(statement) == SQLITE_ROW)
        poems.push_back({sqlite3_column_int(statement, 0), column(statement, 1), column(statement, 2),
                         column(statement, 3)});
    const std::string error = ok ? std::string() : sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (!ok)
        throw std::runtime_error("reference: cannot read " + path.toStdString() + ": " + error);
    return poems;
}

std::optional<QList<int>> expectedKeys(const std::vector<Poem> &poems, const QString &term)
{
    const QString pattern = u'%' + term + u'%';
    if (pattern.toUtf8().size() > patternLimitBytes && !poems.empty())
        return std::nullopt;
    const std::u32string compiled = codePoints(pattern);
    const auto matches = [&](const std::optional<std::u32string> &value) {
        return value && likeMatches(compiled, *value);
    };
    QList<int> keys;
    for (const Poem &poem : poems)
        if (matches(poem.title) || matches(poem.date) || matches(poem.text))
            keys << poem.key;
    return keys;
}

} // namespace reference
