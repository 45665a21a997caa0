#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace platform {

// Gives a fixed-size top-level window the frame its flags ask for, with no
// more title-bar buttons than they list, on every window system. Call it
// once the window's flags are set and before it is first shown.
void frameFixedWindow(QWidget &window);

// Where a window of the given outer size goes to sit in the middle of a
// screen's work area, never above or left of it.
QPoint centredIn(const QRect &area, const QSize &outerSize);

// Moves a top-level window's frame to the middle of the screen's work area,
// at once and again when the window system has told the frame's size;
// without a screen it stays where it is.
void centreOnScreen(QWidget &window, const QScreen *screen);

} // namespace platform
