#include "platform/launch.h"

#include <windows.h>

namespace platform {

// The show command that whoever started the program (Explorer, a shortcut
// set to "Minimised", start /min) put into its start-up information. Qt
// shows every window normal whatever it says.
Qt::WindowState launchShowState()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW))
        return Qt::WindowNoState;
    switch (startup.wShowWindow) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        return Qt::WindowMinimized;
    case SW_SHOWMAXIMIZED:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

} // namespace platform
