#pragma once

namespace ui {

// The windows' layouts were drawn for Tahoma's metrics. Where the system
// has no Tahoma, the metric-compatible faces that Debian ships with Wine are
// registered before Qt falls back to some other family.
void registerLayoutFonts();

} // namespace ui
