#pragma once

class QWidget;

namespace shell {

// Gives a fixed-size top-level window the frame its flags ask for, with no
// more title-bar buttons than they list, on every window system: exact size
// steps for an X11 window manager; on Wayland, where the compositor leaves
// title bars to the program, a title bar of the window's own, and where it
// draws them, a refusal of the maximised state, which it may still be asked
// for. Call it once the window's flags are set and before it is first shown.
void frameFixedWindow(QWidget &window);

} // namespace shell
