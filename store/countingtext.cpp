#include "countingtext.h"

#include <cctype>

namespace store {

namespace {

bool isWordByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool wordAt(const QByteArray &text, qsizetype at, const char *word)
{
    const qsizetype length = qsizetype(qstrlen(word));
    if (at + length > text.size() || qstrnicmp(text.constData() + at, word, length) != 0)
        return false;
    return (at == 0 || !isWordByte(text[at - 1])) && (at + length == text.size() || !isWordByte(text[at + length]));
}

// Where the quoted literal, identifier or comment that starts at `at` ends
// (one past it), or `at` itself when none starts there.
qsizetype skipQuoted(const QByteArray &text, qsizetype at)
{
    const char c = text[at];
    const auto until = [&](const char *close, qsizetype from) {
        const qsizetype end = text.indexOf(close, from);
        return end < 0 ? text.size() : end + qsizetype(qstrlen(close));
    };
    if (c == '\'' || c == '"' || c == '`')
        return until(QByteArray(1, c).constData(), at + 1); // a doubled quote simply reopens
    if (c == '[')
        return until("]", at + 1);
    if (text.mid(at, 2) == "--")
        return until("\n", at + 2);
    if (text.mid(at, 2) == "/*")
        return until("*/", at + 2);
    return at;
}

qsizetype outerOrderBy(const QByteArray &text)
{
    int depth = 0;
    for (qsizetype at = 0; at < text.size();) {
        if (const qsizetype past = skipQuoted(text, at); past != at) {
            at = past;
            continue;
        }
        const char c = text[at];
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (depth == 0 && wordAt(text, at, "ORDER")) {
            qsizetype next = at + 5;
            while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
                ++next;
            if (next > at + 5 && wordAt(text, next, "BY"))
                return at;
        }
        ++at;
    }
    return -1;
}

} // namespace

QByteArray countingText(const QByteArray &statementText)
{
    const qsizetype orderBy = outerOrderBy(statementText);
    const QByteArray counted = orderBy < 0 ? statementText : statementText.left(orderBy);
    return "SELECT COUNT(*) FROM (\r\n" + counted + "\r\n) A";
}

} // namespace store
