#include "termgenerator.h"

#include <algorithm>
#include <array>

namespace {

// Letters and signs a reader of these poems may type, the typographic quotes
// the texts use, a letter outside the basic plane, a combining accent and
// the two wildcards.
const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "áéíóöőúüűÁÉÍÓÖŐÚÜŰäßÿŸ0123456789"
                                        "    ''%%__,.!?;:-\"’„”&{}()/*\\\u0301");

const std::array sqlLookAlikes = {
    "' OR 1=1 --", "'; DROP TABLE tbl_Data; --", "%' OR '1'='1", "' OR ''='", "\" or \"\"=\"",
    "/* comment */", "*/", "--", "?", "?1", ":name", "@x", "$1", "\\'", "\\", "''", "'''",
    "' UNION SELECT * FROM tbl_Data --", "x' ESCAPE 'x", "%' ESCAPE '\\", "' || '", "') --",
    "; SELECT 1", "NULL", "' IS NULL OR '", "[a]", "`x`", "%_%", "_%_", "%%%"};

} // namespace

TermGenerator::TermGenerator(const std::vector<reference::Poem> &poems, std::uint64_t seed) : m_random(seed)
{
    for (const reference::Poem &poem : poems)
        for (const auto *column : {&poem.title, &poem.text})
            if (*column && !(*column)->empty()) {
                m_sources.push_back(**column);
                if ((*column)->size() > m_longest.size())
                    m_longest = **column;
            }
}

QString TermGenerator::next()
{
    const int kind = below(100);
    if (kind < 35)
        return chance(50) ? mutated(cut(24)) : cut(24);
    if (kind < 60)
        return randomRun();
    if (kind < 72)
        return sqlLookAlike();
    if (kind < 97)
        return wildcardJoin();
    return nearTheLimit();
}

// A piece of one line of a title or text; seldom empty.
QString TermGenerator::cut(int maxLength)
{
    const std::u32string &source = m_sources[size_t(below(int(m_sources.size())))];
    const size_t start = size_t(below(int(source.size())));
    const size_t length = size_t(below(maxLength + 1));
    std::u32string piece = source.substr(start, length);
    piece = piece.substr(0, std::min(piece.find(U'\n'), piece.find(U'\r')));
    return QString::fromUcs4(piece.data(), qsizetype(piece.size()));
}

// A few characters flipped to the other case (which keeps an ASCII letter
// matching and makes an accented one miss), turned into a wildcard, or
// followed by an apostrophe or a space.
QString TermGenerator::mutated(QString term)
{
    for (qsizetype i = 0; i < term.size(); ++i) {
        if (!chance(12))
            continue;
        switch (below(5)) {
        case 0:
            term[i] = term[i].isUpper() ? term[i].toLower() : term[i].toUpper();
            break;
        case 1:
            term[i] = u'_';
            break;
        case 2:
            term[i] = u'%';
            break;
        case 3:
            term.insert(++i, u'\'');
            break;
        default:
            term.insert(++i, u' ');
        }
    }
    return term;
}

QString TermGenerator::randomRun()
{
    QString term;
    for (int length = below(9); length > 0; --length) {
        if (chance(3))
            term += QString::fromUcs4(U"\U0001F339", 1); // a rose, four bytes of UTF-8
        else
            term += alphabet[below(int(alphabet.size()))];
    }
    return term;
}

QString TermGenerator::sqlLookAlike()
{
    const QString lookAlike = QString::fromUtf8(sqlLookAlikes[size_t(below(int(sqlLookAlikes.size())))]);
    switch (below(3)) {
    case 0:
        return lookAlike;
    case 1:
        return cut(8) + lookAlike;
    default:
        return lookAlike + cut(8);
    }
}

// Pieces joined by wildcards: "%", a run of "_" (up to longer than a title),
// or an apostrophe.
QString TermGenerator::wildcardJoin()
{
    QString term = cut(6);
    for (int pieces = 1 + below(3); pieces > 0; --pieces) {
        switch (below(3)) {
        case 0:
            term += u'%';
            break;
        case 1:
            term += QString(below(25), u'_');
            break;
        default:
            term += u'\'';
        }
        term += chance(50) ? mutated(cut(6)) : cut(6);
    }
    return term;
}

// A pattern ("%" + term + "%") within a few bytes of the limit, on either
// side: a passage of the longest text (found, unless a flipped accented
// letter makes it miss), or a run of one character, where apostrophes show
// whether the limit is measured before or after they are doubled.
QString TermGenerator::nearTheLimit()
{
    const qsizetype targetBytes = reference::patternLimitBytes - 2 - 4 + below(9);
    if (chance(30)) {
        const std::array fillers = {u'%', u'_', u'\'', u'a', u'é'};
        const QChar filler = fillers[size_t(below(int(fillers.size())))];
        return QString(targetBytes / QString(filler).toUtf8().size(), filler);
    }
    QString passage;
    qsizetype bytes = 0;
    for (size_t at = size_t(below(int(m_longest.size()) / 2)); at < m_longest.size(); ++at) {
        const QString character = QString::fromUcs4(&m_longest[at], 1);
        const qsizetype size = character.toUtf8().size();
        if (bytes + size > targetBytes)
            break;
        passage += character;
        bytes += size;
    }
    return chance(50) ? mutated(passage.left(200)) + passage.mid(200) : passage;
}
