#pragma once

#include <QLocale>
#include <QString>

class QDateTime;

namespace ui {

// The settings the clock reads from a locale. The time layout is rebuilt
// from these alone (not from the locale's own time format), so every locale
// gets hours, minutes and seconds in the same order.
struct ClockSettings {
    QLocale locale = QLocale::c(); // prints the date
    QString shortDateFormat;
    QString timeSeparator = QStringLiteral(":");
    bool leadingZeroInHours = true;
    bool twelveHourClock = false;
    bool designatorFirst = false;
    QString morning;
    QString afternoon;

    static ClockSettings from(const QLocale &locale);
    // The user's locale; US English where none is set (the C locale).
    static ClockSettings ofUser();
};

// The status bar clock's text: the short date, then (except at exactly
// midnight) a blank and the time.
QString clockText(const QDateTime &moment, const ClockSettings &settings);

} // namespace ui
