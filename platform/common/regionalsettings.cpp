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

    // Qt offers no accessors for these: read them off the short time format,
    // e.g. "h:mm AP", "HH:mm", "AP h:mm", "H.mm".
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    const auto hourLetter = std::find_if(format.cbegin(), format.cend(),
                                         [](QChar c) { return c == u'h' || c == u'H'; });
    const qsizetype hour = hourLetter == format.cend() ? -1 : hourLetter - format.cbegin();
    const qsizetype designator = format.indexOf(QStringLiteral("ap"), 0, Qt::CaseInsensitive);
    settings.twelveHourClock = designator >= 0;
    settings.designatorFirst = settings.twelveHourClock && hour >= 0 && designator < hour;
    if (hour >= 0) {
        qsizetype afterHour = hour;
        while (afterHour < format.size() && format.at(afterHour) == format.at(hour))
            ++afterHour;
        settings.leadingZeroInHours = afterHour - hour >= 2;
        if (afterHour < format.size() && !format.at(afterHour).isLetter())
            settings.timeSeparator = format.at(afterHour);
    }
    return settings;
}

} // namespace platform
