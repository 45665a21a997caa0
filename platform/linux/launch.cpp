#include "platform/launch.h"

namespace platform {

// Neither X11 nor Wayland hands a program the state to show its first window
// in: a launcher that wants one asks the window manager itself.
Qt::WindowState launchShowState()
{
    return Qt::WindowNoState;
}

} // namespace platform
