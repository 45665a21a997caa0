#include "accessible/readonlytextinterface.h"

#include <algorithm>

namespace ui {

QString ReadOnlyTextInterface::text(int startOffset, int endOffset) const
{
    const QString whole = content();
    // An end of -1 means the end of the text.
    const qsizetype end = endOffset < 0 ? whole.size() : std::min<qsizetype>(endOffset, whole.size());
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, end);
    return whole.mid(start, end - start);
}

QString ReadOnlyTextInterface::attributes(int, int *startOffset, int *endOffset) const
{
    // One run without attributes over the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace ui
