#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a search term should find, worked out without the engine: the poems
// are read once, and matching is done here from the LIKE rules alone. "%"
// matches any run of characters, "_" exactly one character, there is no
// escape, case is folded for the 26 ASCII letters only, and NULL matches
// nothing. Characters are Unicode code points, as the engine reads UTF-8.
namespace reference {

bool likeMatches(std::u32string_view pattern, std::u32string_view text);

// The engine refuses a pattern longer than this many bytes of UTF-8.
constexpr qsizetype patternLimitBytes = 50000;

struct Poem {
    int key = 0;
    std::optional<std::u32string> title; // CIM
    std::optional<std::u32string> date;  // DATUM
    std::optional<std::u32string> text;  // VERS
};

// The poems of a database file, read without writing or locking it.
std::vector<Poem> readPoems(const QString &path);

// The keys of the poems a search term finds, or nothing when the engine
// would refuse the pattern the term makes.
std::optional<QList<int>> expectedKeys(const std::vector<Poem> &poems, const QString &term);

std::u32string codePoints(const QString &text);

} // namespace reference
