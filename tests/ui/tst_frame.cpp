// The main window's frame driven with real events: menu and access keys,
// pages and focus, the hint display in panel 0, tooltips, the clock.
#include "boxwatcher.h"
#include "program.h"
#include "testmain.h"

#include <QMenu>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <qpa/qwindowsysteminterface.h>

namespace {

void hover(QWidget *widget, QPoint at = {})
{
    QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
}

} // namespace

// Times the tooltip's window from its showing to its hiding.
struct TooltipLifetime final : QObject {
    TooltipLifetime() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched->objectName() != QLatin1String("qtooltip_label"))
            return false;
        if (event->type() == QEvent::Show && !shown.isValid())
            shown.start();
        else if (event->type() == QEvent::Hide && shown.isValid() && hiddenAfterMs < 0)
            hiddenAfterMs = shown.elapsed();
        return false;
    }
    QElapsedTimer shown;
    qint64 hiddenAfterMs = -1;
};

class FrameTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<StartedProgram> m_run;
    TForm1 &form() { return m_run->program.form; }

    // How long a step may take before it counts as never coming: CI runs
    // two suites at a time on a busy two-core machine, where a 500 ms timer
    // can fire seconds late. Timings are checked from below, never above.
    static constexpr int patienceMs = 30000;

private slots:
    void init()
    {
        m_run = std::make_unique<StartedProgram>();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }

    void cleanup()
    {
        m_run.reset();
    }

    void windowIsFixedWithItsIconAndFont()
    {
        QCOMPARE(form().centralWidget()->size(), QSize(702, 549));
        QCOMPARE(form().minimumSize(), form().maximumSize());
        const Qt::WindowFlags flags = form().windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form().windowIcon().availableSizes().size(), 6);
        QCOMPARE(QFontInfo(form().font()).family(), QStringLiteral("Tahoma"));
        QCOMPARE(form().StatusBar1->panelRect(0), QRect(0, 0, 500, 19));
        QCOMPARE(form().StatusBar1->panelRect(1), QRect(500, 0, 202, 19));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(form().frameGeometry().center().x(), area.center().x());
        QVERIFY(form().frameGeometry().top() >= area.top());
    }

    void accessKeysAreGivenOutByTheRule()
    {
        QCOMPARE(form().Lehetsgek1->title(), QStringLiteral("&Lehetőségek"));
        QStringList captions;
        for (QAction *item : form().Lehetsgek1->actions())
            captions << item->text();
        QCOMPARE(captions, QStringList({"&Lexikon", "&Keresés", "&Bemutatkozás", "", "K&ilépés"}));
    }

    void altLThenIAsksTheExitQuestion()
    {
        BoxWatcher watcher(BoxWatcher::clickStandard(QMessageBox::No));
        QTest::keyClick(&form(), Qt::Key_L, Qt::AltModifier);
        QTRY_VERIFY(form().Lehetsgek1->isVisible());
        QTest::keyClick(form().Lehetsgek1, Qt::Key_I);
        QTRY_COMPARE(watcher.seen().size(), size_t(1));
        QCOMPARE(watcher.seen().front().caption, QStringLiteral("Figyelem:"));
        QVERIFY(!m_run->program.termination.isRequested());
    }

    void menuSelectsPagesAndMovesTheFocus()
    {
        form().Keress1->trigger();
        QCOMPARE(form().PageControl1->currentIndex(), 1);
        form().Edit1->setFocus();
        QTRY_VERIFY(form().Edit1->hasFocus());

        form().Bemutatkozs1->trigger();
        QCOMPARE(form().PageControl1->currentIndex(), 2);
        QVERIFY(!form().Edit1->hasFocus());

        form().Keress1->trigger();
        form().Edit1->setFocus();
        form().Keress1->trigger(); // the page already shown: nothing changes
        QCOMPARE(form().PageControl1->currentIndex(), 1);
        QVERIFY(form().Edit1->hasFocus());
    }

    // A focus on the page left goes to the first control of the page shown,
    // not to the one used there last; the about page takes it itself.
    void focusStartsAtThePagesFirstControl()
    {
        form().Keress1->trigger();
        form().BitBtn2->setFocus();
        QTRY_VERIFY(form().BitBtn2->hasFocus());
        QTest::keyClick(form().BitBtn2, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(form().PageControl1->currentIndex(), 2);
        QCOMPARE(QApplication::focusWidget(), form().TabSheet3);
        QTest::keyClick(form().TabSheet3, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form().PageControl1->currentIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), form().Edit1);
    }

    void ctrlTabCyclesThePages()
    {
        form().PageControl1->tabBar()->setFocus();
        QTest::keyClick(form().PageControl1, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(form().PageControl1->currentIndex(), 1);
        QTest::keyClick(form().PageControl1, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(form().PageControl1, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form().PageControl1->currentIndex(), 2);
        QTest::keyClick(form().PageControl1->tabBar(), Qt::Key_Left);
        QCOMPARE(form().PageControl1->currentIndex(), 1);
    }

    void panel0ShowsTheHintUnderThePointer_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::newRow("search button") << 1 << "BitBtn1" << "Keresés indítása !";
        QTest::newRow("reset button") << 1 << "BitBtn2" << "";
        QTest::newRow("term box") << 1 << "Edit1" << "";
        QTest::newRow("mail link") << 2 << "Label5" << "E-mail küldése a készítőnek !";
        QTest::newRow("web link") << 2 << "Label7" << "Cím behívása Internet programba !";
        QTest::newRow("address") << 2 << "Label3" << "";
    }

    void panel0ShowsTheHintUnderThePointer()
    {
        QFETCH(int, page);
        QFETCH(QString, control);
        QFETCH(QString, hint);
        form().selectPage(1);
        hover(form().BitBtn1); // start from a hint, so that an empty one is a change
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Keresés indítása !"));
        form().selectPage(page);
        hover(form().findChild<QWidget *>(control));
        form().Timer1Timer(); // at the latest at the next tick
        QTRY_COMPARE(m_run->program.panel0(), hint);
    }

    void disabledControlsShowTheirHintsToo()
    {
        form().selectPage(1);
        form().BitBtn1->setEnabled(false);
        hover(form().BitBtn1);
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Keresés indítása !"));
    }

    void sameHintIsNotDeliveredAgain()
    {
        form().selectPage(2);
        QStringList delivered;
        connect(&form().hintDisplay(), &ui::HintDisplay::hintChanged, this,
                [&](const QString &hint) { delivered << hint; });
        QWidget *hovered = nullptr;
        connect(&form().hintDisplay(), &ui::HintDisplay::hoveredChanged, this,
                [&](QWidget *control) { hovered = control; });
        hover(form().Label6);
        QTRY_COMPARE(delivered, QStringList{"Cím behívása Internet programba !"});
        hover(form().Label7);
        QTRY_COMPARE(hovered, static_cast<QWidget *>(form().Label7)); // the move is noticed
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(m_run->program.panel0(), QStringLiteral("Cím behívása Internet programba !"));
    }

    // Overlapping labels: the later one owns the strip.
    void laterLabelOwnsTheOverlap()
    {
        form().selectPage(2);
        hover(form().Label4, QPoint(323, 30)); // inside Label5's rectangle too
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("E-mail küldése a készítőnek !"));
    }

    void pointerLeavingClearsPanel0()
    {
        form().selectPage(1);
        hover(form().BitBtn1);
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Keresés indítása !"));
        QCursor::setPos(form().geometry().bottomRight() + QPoint(300, 300));
        form().Timer1Timer();
        QCOMPARE(m_run->program.panel0(), QString());
    }

    // While the exit question is open its status text stays, wherever the pointer goes.
    void exitQuestionKeepsItsStatusText()
    {
        form().selectPage(1);
        QString panelWhileOpen;
        BoxWatcher watcher([&](QMessageBox &box) {
            hover(form().BitBtn1);
            form().Timer1Timer();
            panelWhileOpen = m_run->program.panel0();
            box.button(QMessageBox::No)->click();
        });
        form().Kilps1->trigger();
        QCOMPARE(panelWhileOpen, QStringLiteral("Program használatásan befejezése ?"));
        QCOMPARE(m_run->program.panel0(), QString());
    }

    void menuItemsShowTheirHints()
    {
        QTest::keyClick(&form(), Qt::Key_L, Qt::AltModifier);
        QMenu *menu = form().Lehetsgek1;
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Down);
        QTRY_VERIFY(menu->activeAction());
        QCOMPARE(m_run->program.panel0(), ui::longPart(ui::hintOf(menu->activeAction())));
        QVERIFY(!m_run->program.panel0().isEmpty());
        hover(menu, menu->actionGeometry(form().Kilps1).center());
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Program hasznáéatának befejezése !"));
        menu->close();
        QTRY_COMPARE(m_run->program.panel0(), QString());
    }

    // A window the pointer leaves holds no hint, also where the pointer's last
    // known position is still over a control (Wayland tells no position
    // outside the program's windows).
    void hintGoesWhenThePointerLeavesTheWindow()
    {
        form().selectPage(2);
        hover(form().Label6);
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Cím behívása Internet programba !"));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&form(), &leave);
        QTRY_COMPARE(m_run->program.panel0(), QString());
        form().Timer1Timer(); // the clock's look under the pointer finds nothing either
        QCOMPARE(m_run->program.panel0(), QString());

        hover(form().Label7); // and back in
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Cím behívása Internet programba !"));
    }

    // A pointer that comes into the window without moving in it (a jump, or
    // a window mapped under it) is over what it entered on, wherever the
    // platform's cursor position says it is: Wayland tells a client only
    // where the pointer entered.
    void hintOfWhereThePointerEntered()
    {
        form().selectPage(1);
        QCursor::setPos(form().geometry().bottomRight() + QPoint(300, 300));
        QTRY_COMPARE(m_run->program.panel0(), QString());
        const QPoint at = form().BitBtn1->mapTo(&form(), form().BitBtn1->rect().center());
        QWindowSystemInterface::handleEnterEvent<QWindowSystemInterface::SynchronousDelivery>(
            form().windowHandle(), at, form().mapToGlobal(at));
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Keresés indítása !"));
        form().Timer1Timer(); // the clock's look under the pointer finds it there too
        QCOMPARE(m_run->program.panel0(), QStringLiteral("Keresés indítása !"));
    }

    // Only the link labels show tooltips: after a 500 ms rest, at once when
    // moving straight to another, and never for the search button.
    void tooltipsOnlyWhereTheFlagIsOn()
    {
        form().selectPage(1);
        hover(form().BitBtn1);
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Keresés indítása !"));
        QTest::qWait(700);
        QVERIFY(!QToolTip::isVisible());

        form().selectPage(2);
        QElapsedTimer rest;
        rest.start();
        hover(form().Label5);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), patienceMs);
        // Qt's coarse timers may fire up to 5 % early.
        QVERIFY2(rest.elapsed() >= ui::TooltipController::wakeUpDelayMs * 95 / 100,
                 qPrintable(QString::number(rest.elapsed())));
        QCOMPARE(QToolTip::text(), QStringLiteral("E-mail küldése a készítőnek !"));

        // At once: the new text is there as soon as the move onto the next
        // link is noticed, which puts its hint into panel 0.
        hover(form().Label6);
        QTRY_COMPARE(m_run->program.panel0(), QStringLiteral("Cím behívása Internet programba !"));
        QCOMPARE(QToolTip::text(), QStringLiteral("Cím behívása Internet programba !"));
        QVERIFY(QToolTip::isVisible());

        QTest::keyClick(&form(), Qt::Key_Shift);
        QTRY_VERIFY(!QToolTip::isVisible());
        QTest::qWait(700); // the same control does not show it again
        QVERIFY(!QToolTip::isVisible());
    }

    // The link labels' teal must not reach their tooltips, which look like
    // every other tooltip.
    void tooltipsTakeTheSystemColours()
    {
        form().selectPage(2);
        hover(form().Label5);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), patienceMs);
        QWidget *tip = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("qtooltip_label") && window->isVisible())
                tip = window;
        }
        QVERIFY(tip);
        const QImage shown = tip->grab().toImage();
        const QColor text = QToolTip::palette().color(QPalette::ToolTipText);
        int teal = 0, plain = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QColor pixel = shown.pixelColor(x, y);
                teal += pixel.red() < 60 && pixel.green() > 90 && pixel.blue() > 90 && pixel.green() < 170;
                plain += pixel == text;
            }
        }
        QCOMPARE(teal, 0);
        QVERIFY(plain > 0);
    }

    void tooltipHidesOnAButtonOrAWheel_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::newRow("button") << false;
        QTest::newRow("wheel") << true;
    }

    void tooltipHidesOnAButtonOrAWheel()
    {
        QFETCH(bool, wheel);
        form().selectPage(2);
        hover(form().Label7);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), patienceMs);
        const QPoint at(5, 5);
        if (wheel) {
            QWheelEvent notch(at, form().Label7->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(form().Label7, &notch);
        } else {
            QTest::mouseClick(form().Label7, Qt::RightButton, {}, at);
        }
        QVERIFY(!QToolTip::isVisible()); // hidden by the event itself
        if (wheel)
            return;
        // A button ends the hand-over too: the next link waits its 500 ms again.
        QElapsedTimer rest;
        rest.start();
        hover(form().Label8);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), patienceMs);
        QVERIFY2(rest.elapsed() >= ui::TooltipController::wakeUpDelayMs * 95 / 100,
                 qPrintable(QString::number(rest.elapsed())));
    }

    // Hidden in the same frame as its reason, not after a fade.
    void tooltipHidesAtOnce_data()
    {
        QTest::addColumn<QString>("reason");
        for (const char *reason : {"a", "Shift", "Down", "pointer onto the page", "pointer off the window"})
            QTest::newRow(reason) << QString::fromLatin1(reason);
    }

    void tooltipHidesAtOnce()
    {
        QFETCH(QString, reason);
        form().selectPage(2);
        hover(form().Label9);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), patienceMs);
        const std::map<QString, Qt::Key> keys{{"a", Qt::Key_A}, {"Shift", Qt::Key_Shift}, {"Down", Qt::Key_Down}};
        if (keys.count(reason)) {
            QTest::keyClick(QApplication::focusWidget(), keys.at(reason));
        } else if (reason == QLatin1String("pointer onto the page")) {
            hover(form().PageControl1->currentWidget(), QPoint(2, 2));
        } else {
            QCursor::setPos(form().frameGeometry().bottomRight() + QPoint(50, 50));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&form(), &leave);
        }
        QCoreApplication::processEvents(); // what the pointer's move set off
        QVERIFY(!QToolTip::isVisible());
    }

    // The tooltip lives its display time as the user sees it, from the moment
    // its window is shown to the moment it is hidden, within a few frames.
    void tooltipHidesAfterItsDisplayTime()
    {
        TooltipLifetime lifetime;
        form().selectPage(2);
        hover(form().Label8);
        QTRY_VERIFY_WITH_TIMEOUT(lifetime.shown.isValid(), patienceMs);
        QTRY_VERIFY_WITH_TIMEOUT(lifetime.hiddenAfterMs >= 0, patienceMs);
        const int promised = ui::TooltipController::displayTimeMs;
        QVERIFY2(lifetime.hiddenAfterMs >= promised && lifetime.hiddenAfterMs <= promised + 75,
                 qPrintable(QString::number(lifetime.hiddenAfterMs)));
    }

    void clockTicksIntoPanel1AndFollowsTheLocale()
    {
#ifdef Q_OS_WIN
        QSKIP("on Windows the settings are the system's, not Qt's default locale (tests/windows/tst_regional.cpp)");
#endif
        QCOMPARE(m_run->program.panel1(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!m_run->program.panel1().isEmpty(), patienceMs);

        const QLocale previous;
        QLocale::setDefault(QLocale(QStringLiteral("fi_FI")));
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(&form(), &change);
        form().Timer1Timer();
        const QString shown = m_run->program.panel1();
        QLocale::setDefault(previous);
        QVERIFY2(shown.startsWith(QDate::currentDate().toString(QStringLiteral("d.M.yyyy"))), qPrintable(shown));
        QVERIFY2(shown.count(u'.') >= 4, qPrintable(shown)); // the time uses the full stop too
    }
};

VARGORIN_TEST_MAIN(FrameTest)
#include "tst_frame.moc"
