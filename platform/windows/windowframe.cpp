#include "platform/windowframe.h"

#include <QScreen>
#include <QWidget>

namespace platform {

// Windows draws the frame the window's flags ask for and holds a fixed size
// itself: the maximise button is greyed when its flag is missing.
void frameFixedWindow(QWidget &) {}

// The frame is the system's own, known as soon as the window exists, so the
// window is centred by it at once.
void centreOnScreen(QWidget &window, const QScreen *screen)
{
    if (!screen)
        return;
    window.winId();
    window.move(centredIn(screen->availableGeometry(),
                          window.frameGeometry().size().expandedTo(window.size())));
}

} // namespace platform
