#pragma once

namespace ui {

// Installs, once, what assistive technology needs to read our own widgets:
// the painted status bar, the link labels and the pages of a page control.
void installAccessibility();

} // namespace ui
