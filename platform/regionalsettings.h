#pragma once

#include <QLocale>
#include <QString>

namespace platform {

// The user's regional settings that a clock shows the date and time by. The
// time is laid out from these alone (not from a locale's own time format), so
// every locale gets hours, minutes and seconds in the same order.
struct RegionalSettings {
    QLocale locale = QLocale::c(); // prints the date
    QString shortDateFormat;       // in QLocale's format letters
    QString timeSeparator = QStringLiteral(":");
    bool leadingZeroInHours = true;
    bool twelveHourClock = false;
    bool designatorFirst = false;
    QString morning;
    QString afternoon;

    // The settings a Qt locale describes.
    static RegionalSettings from(const QLocale &locale);
    // Takes the hour's digits, the separator after the hour and the
    // designator's presence and place from a time format in QLocale's letters
    // ("h:mm AP", "HH:mm", "AP h:mm", "H.mm").
    void takeTimeLayout(const QString &format);
    // The user's own, as the system holds them now; US English where none
    // are set.
    static RegionalSettings ofUser();
};

// Makes sure every widget hears of a change of the user's regional settings
// as a QEvent::LocaleChange, where the system announces it in a way Qt does
// not pass on. Called once, after the application exists.
void announceRegionalSettingsChanges();

} // namespace platform
