#include "platform/windowframe.h"

#include <algorithm>

namespace platform {

QPoint centredIn(const QRect &area, const QSize &outerSize)
{
    const int left = area.left() + (area.width() - outerSize.width()) / 2;
    const int top = area.top() + (area.height() - outerSize.height()) / 2;
    return {std::max(left, area.left()), std::max(top, area.top())};
}

} // namespace platform
