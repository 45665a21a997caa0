#pragma once

#include "likereference.h"

#include <QString>

#include <cstdint>
#include <random>
#include <vector>

// Search terms made from a seed, so that any run can be replayed: pieces cut
// from the poems' titles and texts (often with a letter's case flipped or a
// wildcard put in), short runs of letters (accented ones of both cases too),
// apostrophes, spaces and wildcards, SQL look-alikes, and terms whose pattern
// lies a few bytes either side of the engine's pattern limit.
class TermGenerator final {
public:
    TermGenerator(const std::vector<reference::Poem> &poems, std::uint64_t seed);

    QString next();

private:
    int below(int bound) { return int(m_random() % std::uint64_t(bound)); }
    bool chance(int percent) { return below(100) < percent; }

    QString cut(int maxLength);
    QString mutated(QString term);
    QString randomRun();
    QString sqlLookAlike();
    QString wildcardJoin();
    QString nearTheLimit();

    std::vector<std::u32string> m_sources; // titles and texts
    std::u32string m_longest;
    std::mt19937_64 m_random;
};
