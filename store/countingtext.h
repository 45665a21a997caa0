#pragma once

#include <QByteArray>

namespace store {

// The statement that counts the rows of a result without reading them:
// "SELECT COUNT(*) FROM (" CR LF, the statement text, CR LF, ") A".
// An ORDER BY of the outer statement (outside literals, comments and
// parentheses) is left out with everything after it: it cannot change a count
// and would only make the engine sort.
QByteArray countingText(const QByteArray &statementText);

} // namespace store
