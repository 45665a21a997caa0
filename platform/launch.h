#pragma once

#include <Qt>

namespace platform {

// The state the program's main window is to be shown in, as whoever started
// the program asked for it (a shortcut set to start minimised, say): normal,
// minimised or maximised.
Qt::WindowState launchShowState();

} // namespace platform
