#include "placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace shell {

QPoint centredIn(const QRect &area, const QSize &outerSize)
{
    const int left = area.left() + (area.width() - outerSize.width()) / 2;
    const int top = area.top() + (area.height() - outerSize.height()) / 2;
    return {std::max(left, area.left()), std::max(top, area.top())};
}

void centreOnScreen(QWidget &window, const QScreen *screen)
{
    if (!screen)
        return;
    window.move(centredIn(screen->availableGeometry(), window.frameGeometry().size().expandedTo(window.size())));
}

} // namespace shell
