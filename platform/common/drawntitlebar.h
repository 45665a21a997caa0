#pragma once

class QWidget;

namespace platform {

// Makes a fixed-size top-level window draw its own title bar and a thin
// frame, in place of those the window system would draw: for a Wayland
// compositor that leaves them to the program, where Qt's own title bar
// offers buttons whatever the window's flags say. Call it once the window's
// flags are set and before it is first shown.
//
// The bar shows the window's title and only the buttons its flags ask for:
// close; minimise, with maximise beside it shown disabled, since the
// window's size is fixed. A press on the title moves the window.
void drawOwnTitleBar(QWidget &window);

} // namespace platform
