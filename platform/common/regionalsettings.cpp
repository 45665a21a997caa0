#include "platform/regionalsettings.h"

#include <algorithm>

namespace platform {

RegionalSettings RegionalSettings::from(const QLocale &locale)
{
    RegionalSettings settings;
    settings.locale = locale;
    settings.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    settings.morning = locale.amText();
    settings.afternoon = locale.pmText();

    // Qt offers no accessors for these: read them off the short time format.
    settings.takeTimeLayout(locale.timeFormat(QLocale::ShortFormat));
    return settings;
}

void RegionalSettings::takeTimeLayout(const QString &format)
{
    const auto hourLetter = std::find_if(format.cbegin(), format.cend(),
                                         [](QChar c) { return c == u'h' || c == u'H'; });
    const qsizetype hour = hourLetter == format.cend() ? -1 : hourLetter - format.cbegin();
    const qsizetype designator = format.indexOf(QStringLiteral("ap"), 0, Qt::CaseInsensitive);
    twelveHourClock = designator >= 0;
    designatorFirst = twelveHourClock && hour >= 0 && designator < hour;
    if (hour >= 0) {
        qsizetype afterHour = hour;
        while (afterHour < format.size() && format.at(afterHour) == format.at(hour))
            ++afterHour;
        leadingZeroInHours = afterHour - hour >= 2;
        if (afterHour < format.size() && !format.at(afterHour).isLetter())
            timeSeparator = format.at(afterHour);
    }
}

} // namespace platform
