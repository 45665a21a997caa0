#pragma once

class QWidget;

namespace shell {

// Keeps a fixed-size top-level window out of the maximised state on Wayland,
// where the title bar that Qt draws itself offers a maximise button whatever
// the window's flags say. Elsewhere the window manager honours the size
// hints, and nothing is installed.
void keepUnmaximised(QWidget &window);

} // namespace shell
