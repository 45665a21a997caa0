#pragma once

#include <QRect>

class QScreen;
class QWidget;

namespace shell {

// Where a window of the given outer size goes to sit in the middle of a
// screen's work area, never above or left of it.
QPoint centredIn(const QRect &area, const QSize &outerSize);

// Moves a top-level window's frame to the middle of the screen's work area,
// at once and again when the window manager has told the frame's size;
// without a screen it stays where it is.
void centreOnScreen(QWidget &window, const QScreen *screen);

} // namespace shell
