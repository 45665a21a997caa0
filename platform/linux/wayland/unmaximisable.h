#pragma once

class QWidget;

namespace platform::wayland {

// Keeps a fixed-size top-level Wayland window out of the maximised state,
// where the title bar that Qt draws itself offers a maximise button whatever
// the window's flags say. An X11 window manager honours the size hints and
// needs none of it.
void keepUnmaximised(QWidget &window);

} // namespace platform::wayland
