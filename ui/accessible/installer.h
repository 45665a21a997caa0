#pragma once

namespace ui {

// Installs, once, the one factory that gives assistive technology an
// interface for each of our own widgets: the title grid, the painted status
// bar, the link labels and the pages of a page control. No widget installs
// its own.
void installAccessibility();

} // namespace ui
