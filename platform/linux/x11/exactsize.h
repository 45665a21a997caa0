#pragma once

class QWidget;

namespace platform::x11 {

// Lets a window manager give a top-level window of fixed size exactly that
// size, at any display density.
void keepExactSize(QWidget &window);

} // namespace platform::x11
