#include "platform/windowframe.h"

#include "platform/common/drawntitlebar.h"
#include "wayland/serverdecorations.h"
#include "wayland/unmaximisable.h"
#include "x11/exactsize.h"
#include "x11/framecentring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

namespace {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

// Exact size steps for an X11 window manager; on Wayland, where the
// compositor leaves title bars to the program, a title bar of the window's
// own, and where it draws them, a refusal of the maximised state, which it
// may still be asked for.
void frameFixedWindow(QWidget &window)
{
    x11::keepExactSize(window);
    if (!onWayland())
        return;
    // Qt asks such a compositor for its title bars, and draws its own, with
    // every button, only where the compositor answers that it will not.
    if (wayland::compositorDrawsTitleBars())
        wayland::keepUnmaximised(window);
    else
        drawOwnTitleBar(window);
}

void centreOnScreen(QWidget &window, const QScreen *screen)
{
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(centredIn(area, window.frameGeometry().size().expandedTo(window.size())));
    window.winId(); // the platform window, whose frame the window manager describes
    // A Wayland compositor places windows itself; offscreen there is no frame.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        x11::centreFrameOnceKnown(window, area);
}

} // namespace platform
