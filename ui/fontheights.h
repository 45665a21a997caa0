#pragma once

class QWidget;

namespace ui {

// Layouts declare some character heights in pixels at 96 dpi (dynamic
// property "fontHeight"), which point sizes cannot always express exactly.
// Applied once after a window's layout is loaded; Qt's device-independent
// pixels then scale them with the display density like every other size.
void applyFontHeights(QWidget *root);

} // namespace ui
