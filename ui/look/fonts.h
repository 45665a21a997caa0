#pragma once

#include <QFont>

namespace ui {

// The windows' layouts were drawn for Tahoma's metrics. Where the system
// has no Tahoma, the metric-compatible faces that Debian ships with Wine are
// registered before Qt falls back to some other family.
void registerLayoutFonts();

// The font both windows' layouts give their windows, and so every text in
// them that sets no font of its own: Tahoma, 8 points.
QFont layoutFont();

} // namespace ui
