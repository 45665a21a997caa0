#include "look/clockformat.h"

#include <QDateTime>

namespace ui {

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
