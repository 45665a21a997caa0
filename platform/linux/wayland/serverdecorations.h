#pragma once

namespace platform::wayland {

// Whether the Wayland compositor can be asked to draw the windows' title
// bars (it offers xdg-decoration, as sway and KWin do). Where it cannot
// (weston, GNOME), a Wayland client draws its own. Asked once; false where
// the compositor cannot be reached.
bool compositorDrawsTitleBars();

} // namespace platform::wayland
