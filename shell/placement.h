#pragma once

#include <QRect>

#include <algorithm>

namespace shell {

// Where a window of the given outer size goes to sit in the middle of a
// screen's work area, never above or left of it.
inline QPoint centredIn(const QRect &area, const QSize &outerSize)
{
    const int left = area.left() + (area.width() - outerSize.width()) / 2;
    const int top = area.top() + (area.height() - outerSize.height()) / 2;
    return {std::max(left, area.left()), std::max(top, area.top())};
}

} // namespace shell
