// The clock's regional settings on Windows: read from the user's settings
// as the system holds them, and read again when the system announces a
// change of them (WM_SETTINGCHANGE naming "intl").
#include "platform/regionalsettings.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include <windows.h>

namespace {

// Counts the locale changes a widget hears of.
class Listener final : public QWidget {
public:
    int changes = 0;

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::LocaleChange)
            ++changes;
        QWidget::changeEvent(event);
    }
};

void setUserSetting(LCTYPE type, const wchar_t *value)
{
    QVERIFY(SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value));
}

} // namespace

class RegionalSettingsTest final : public QObject {
    Q_OBJECT

private slots:
    void readsTheUsersOwnSettings_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("shortDateFormat");
        QTest::addColumn<bool>("twelveHour");
        QTest::addColumn<bool>("leadingZero");
        QTest::addColumn<bool>("designatorFirst");
        QTest::addColumn<QString>("separator");
        QTest::newRow("Hungarian") << "yyyy. MM. dd." << "H:mm:ss" << "yyyy. MM. dd." << false << false << false << ":";
        QTest::newRow("US") << "M/d/yyyy" << "h:mm:ss tt" << "M/d/yyyy" << true << false << false << ":";
        QTest::newRow("designator first, dots") << "dd.MM.yy" << "tt hh.mm.ss" << "dd.MM.yy" << true << true << true << ".";
        QTest::newRow("era and a one-letter year") << "gg y-M-d" << "HH:mm:ss" << "yy-M-d" << false << true << false << ":";
    }

    void readsTheUsersOwnSettings()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        setUserSetting(LOCALE_SSHORTDATE, reinterpret_cast<const wchar_t *>(date.utf16()));
        setUserSetting(LOCALE_STIMEFORMAT, reinterpret_cast<const wchar_t *>(time.utf16()));
        setUserSetting(LOCALE_S1159, L"de.");
        setUserSetting(LOCALE_S2359, L"du.");

        const platform::RegionalSettings settings = platform::RegionalSettings::ofUser();
        QTEST(settings.shortDateFormat, "shortDateFormat");
        QTEST(settings.twelveHourClock, "twelveHour");
        QTEST(settings.leadingZeroInHours, "leadingZero");
        QTEST(settings.designatorFirst, "designatorFirst");
        QTEST(settings.timeSeparator, "separator");
        QCOMPARE(settings.morning, QStringLiteral("de."));
        QCOMPARE(settings.afternoon, QStringLiteral("du."));
    }

    // The system's broadcast reaches every top-level widget once as a
    // QEvent::LocaleChange; another setting's change does not. Qt's window
    // procedure hands each message of its windows to the native event
    // filters as below; offscreen there are no such windows to send it to.
    void aChangeOfTheSettingsIsAnnounced()
    {
        platform::announceRegionalSettingsChanges();
        Listener first;
        Listener second;
        const auto broadcast = [](const wchar_t *area) {
            MSG message{};
            message.message = WM_SETTINGCHANGE;
            message.lParam = reinterpret_cast<LPARAM>(area);
            qintptr result = 0;
            // Every top-level window of the program is told.
            for (int window = 0; window < 3; ++window)
                QAbstractEventDispatcher::instance()->filterNativeEvent("windows_generic_MSG", &message, &result);
        };
        broadcast(L"Environment");
        broadcast(L"intl");
        QTRY_COMPARE(first.changes, 1);
        QCOMPARE(second.changes, 1);
        QCoreApplication::processEvents(); // the copies of the broadcast bring no more
        QCOMPARE(first.changes, 1);
    }
};

QTEST_MAIN(RegionalSettingsTest)
#include "tst_regional.moc"
