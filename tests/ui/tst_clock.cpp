// The status bar clock's layout, built from a locale's settings.
#include "look/clockformat.h"

#include <QDateTime>
#include <QTest>

using ui::ClockSettings;

class ClockTest final : public QObject {
    Q_OBJECT

private slots:
    void layoutFromLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("shown");
        const QTime morning(9, 5, 7);
        const QTime afternoon(21, 5, 7);
        QTest::newRow("24 h, leading zero") << "de_DE" << morning << "05.03.24 09:05:07";
        QTest::newRow("24 h, no leading zero") << "hu_HU" << morning << "2024. 03. 05. 9:05:07";
        QTest::newRow("12 h, designator after") << "en_US" << afternoon << "3/5/24 9:05:07 PM";
        QTest::newRow("12 h, noon is 12") << "en_US" << QTime(12, 0, 1) << "3/5/24 12:00:01 PM";
        QTest::newRow("12 h, after midnight is 12") << "en_US" << QTime(0, 0, 1) << "3/5/24 12:00:01 AM";
        QTest::newRow("12 h, designator before") << "ko_KR" << morning << "24. 3. 5. 오전 9:05:07";
        QTest::newRow("full stop as time separator") << "fi_FI" << afternoon << "5.3.2024 21.05.07";
        QTest::newRow("midnight: the date alone") << "en_GB" << QTime(0, 0) << "05/03/2024";
    }

    void layoutFromLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QTime, time);
        QFETCH(QString, shown);
        const QLocale chosen(locale);
        QCOMPARE(ui::clockText(QDateTime(QDate(2024, 3, 5), time), ClockSettings::from(chosen)), shown);
    }

    // The layout comes from the settings alone, whatever the locale's own format says.
    void layoutFromSettings()
    {
        ClockSettings settings;
        settings.shortDateFormat = QStringLiteral("dd.MM.yyyy");
        QCOMPARE(ui::clockText(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)), settings),
                 QStringLiteral("05.03.2024 09:05:07"));
        QCOMPARE(ui::clockText(QDateTime(QDate(2024, 3, 5), QTime(0, 0)), settings),
                 QStringLiteral("05.03.2024"));
        QCOMPARE(ui::clockText(QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0, 1)), settings),
                 QStringLiteral("05.03.2024 00:00:00"));
    }

    void noLocaleMeansUsEnglish()
    {
#ifdef Q_OS_WIN
        QSKIP("on Windows the settings are the system's, not Qt's default locale (tests/windows/tst_regional.cpp)");
#endif
        const QLocale previous;
        QLocale::setDefault(QLocale::c());
        const ClockSettings settings = ClockSettings::ofUser();
        QLocale::setDefault(previous);
        QCOMPARE(ui::clockText(QDateTime(QDate(2024, 3, 5), QTime(21, 5, 7)), settings),
                 QStringLiteral("3/5/24 9:05:07 PM"));
    }
};

QTEST_GUILESS_MAIN(ClockTest)
#include "tst_clock.moc"
