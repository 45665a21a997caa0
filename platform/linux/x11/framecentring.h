#pragma once

#include <QRect>

class QWidget;

namespace platform::x11 {

// Centres a window that is about to be mapped in the area again once the
// window manager has told the frame it puts around the window.
void centreFrameOnceKnown(QWidget &window, const QRect &area);

} // namespace platform::x11
