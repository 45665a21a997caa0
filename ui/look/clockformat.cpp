#include "look/clockformat.h"

#include <QDateTime>

#include <algorithm>

namespace ui {

ClockSettings ClockSettings::from(const QLocale &locale)
{
    ClockSettings settings;
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

ClockSettings ClockSettings::ofUser()
{
    const QLocale user;
    return from(user.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : user);
}

QString clockText(const QDateTime &moment, const ClockSettings &settings)
{
    const QString date = settings.locale.toString(moment.date(), settings.shortDateFormat);
    const QTime time = moment.time();
    if (time == QTime(0, 0))
        return date;

    int hour = time.hour();
    if (settings.twelveHourClock)
        hour = hour % 12 == 0 ? 12 : hour % 12;
    const QString hourText = settings.leadingZeroInHours
        ? QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'))
        : QString::number(hour);
    QString text = hourText + settings.timeSeparator
        + QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0')) + settings.timeSeparator
        + QStringLiteral("%1").arg(time.second(), 2, 10, QLatin1Char('0'));
    if (settings.twelveHourClock) {
        const QString &designator = time.hour() < 12 ? settings.morning : settings.afternoon;
        text = settings.designatorFirst ? designator + u' ' + text : text + u' ' + designator;
    }
    return date + u' ' + text;
}

} // namespace ui
