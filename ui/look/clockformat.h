#pragma once

#include "platform/regionalsettings.h"

#include <QString>

class QDateTime;

namespace ui {

// The clock shows the date and time by the user's regional settings, as the
// system holds them.
using ClockSettings = platform::RegionalSettings;

// The status bar clock's text: the short date, then (except at exactly
// midnight) a blank and the time.
QString clockText(const QDateTime &moment, const ClockSettings &settings);

} // namespace ui
