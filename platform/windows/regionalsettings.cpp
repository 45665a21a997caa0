#include "platform/regionalsettings.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <windows.h>

namespace platform {

namespace {

QString localeInfo(LCTYPE type)
{
    wchar_t text[LOCALE_NAME_MAX_LENGTH * 4] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, int(std::size(text)));
    return length > 1 ? QString::fromWCharArray(text, length - 1) : QString();
}

// Windows' date pictures use QLocale's letters and quotes, but for the era
// (g, gg), which Qt does not print, and a year of one, three or five letters,
// which Qt does not know.
QString qtDateFormat(const QString &picture)
{
    QString format;
    bool quoted = false;
    for (qsizetype i = 0; i < picture.size();) {
        const QChar letter = picture.at(i);
        if (letter == u'\'') {
            quoted = !quoted;
            format += letter;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (!quoted && i + run < picture.size() && picture.at(i + run) == letter)
            ++run;
        if (quoted || (letter != u'g' && letter != u'y'))
            format += picture.mid(i, run);
        else if (letter == u'y')
            format += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        i += run;
    }
    return format.trimmed();
}

// Qt 6 passes no change of the regional settings on to its widgets: the
// system's broadcast (WM_SETTINGCHANGE naming "intl") becomes a
// QEvent::LocaleChange for every top-level widget, as a Linux desktop's
// locale change would be.
class SettingsChangeWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit SettingsChangeWatch(QObject *parent) : QObject(parent)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~SettingsChangeWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_SETTINGCHANGE || !msg->lParam
            || std::wstring_view(reinterpret_cast<const wchar_t *>(msg->lParam)) != L"intl")
            return false;
        // Every top-level window gets the broadcast; the first one tells all.
        if (!m_pending) {
            m_pending = true;
            QMetaObject::invokeMethod(this, &SettingsChangeWatch::announce, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void announce()
    {
        m_pending = false;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            QEvent change(QEvent::LocaleChange);
            QCoreApplication::sendEvent(window, &change);
        }
    }

    bool m_pending = false;
};

} // namespace

RegionalSettings RegionalSettings::ofUser()
{
    RegionalSettings settings;
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0)
        settings.locale = QLocale(QString::fromWCharArray(name).replace(u'-', u'_'));
    settings.shortDateFormat = qtDateFormat(localeInfo(LOCALE_SSHORTDATE));
    // "h" is the 12-hour clock and "H" the 24-hour one, "tt" (or "t") the
    // designator, whether or not the format shows one.
    const QString time = localeInfo(LOCALE_STIMEFORMAT);
    settings.takeTimeLayout(QString(time).replace(QStringLiteral("tt"), QStringLiteral("AP"))
                                .replace(u't', QStringLiteral("AP")));
    const auto hour = std::find_if(time.cbegin(), time.cend(), [](QChar c) { return c == u'h' || c == u'H'; });
    settings.twelveHourClock = hour != time.cend() && *hour == u'h';
    settings.morning = localeInfo(LOCALE_S1159);
    settings.afternoon = localeInfo(LOCALE_S2359);
    return settings;
}

void announceRegionalSettingsChanges()
{
    static QPointer<QObject> watch;
    if (!watch)
        watch = new SettingsChangeWatch(QCoreApplication::instance());
}

} // namespace platform
