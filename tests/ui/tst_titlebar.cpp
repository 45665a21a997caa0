// The title bar the reader's windows draw themselves where a Wayland
// compositor leaves it to them, put on the real windows and driven with
// real clicks: only the buttons each window's frame lists, each doing what
// the window system's would, and the room below it as large as ever.
#include "boxwatcher.h"
#include "platform/common/drawntitlebar.h"
#include "program.h"
#include "testmain.h"

#include <QAbstractButton>
#include <QMenu>
#include <QTest>

namespace {

QWidget *barOf(QWidget &window)
{
    return window.findChild<QWidget *>(QStringLiteral("drawnTitleBar"));
}

// The bar's buttons from left to right, by their names for the screen reader.
QStringList buttonsOf(QWidget &window)
{
    QList<QAbstractButton *> buttons = barOf(window)->findChildren<QAbstractButton *>();
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
    QStringList names;
    for (QAbstractButton *button : buttons)
        names << button->accessibleName() + (button->isEnabled() ? "" : " (disabled)");
    return names;
}

QAbstractButton *button(QWidget &window, const QString &name)
{
    for (QAbstractButton *button : barOf(window)->findChildren<QAbstractButton *>())
        if (button->accessibleName() == name)
            return button;
    return nullptr;
}

} // namespace

class TitleBarTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> m_folder;
    std::unique_ptr<Program> m_program;
    TForm1 &form() { return m_program->form; }
    TForm2 &detail() { return m_program->detail; }

private slots:
    void init()
    {
        m_folder = std::make_unique<ScratchFolder>();
        m_program = std::make_unique<Program>();
        platform::drawOwnTitleBar(form());
        platform::drawOwnTitleBar(detail());
        form().show();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }

    void cleanup()
    {
        m_program.reset();
        m_folder.reset();
    }

    void eachWindowOffersWhatItsFrameLists()
    {
        QCOMPARE(buttonsOf(form()), QStringList({"Kis méret", "Teljes méret (disabled)", "Bezárás"}));
        QCOMPARE(buttonsOf(detail()), QStringList({"Bezárás"}));
        QVERIFY(form().windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(detail().windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    // The bar takes room above the window's contents, which keep their size
    // and stay fixed; the bar spans the window inside its frame line.
    void contentsKeepTheirSizeBelowTheBar()
    {
        QCOMPARE(form().centralWidget()->size(), QSize(702, 549));
        QCOMPARE(form().minimumSize(), form().maximumSize());
        QWidget *bar = barOf(form());
        QCOMPARE(bar->geometry(), QRect(1, 1, form().width() - 2, 30));
        QVERIFY(form().menuWidget()->geometry().top() >= bar->geometry().bottom() + 1);
        QCOMPARE(form().width(), 702 + 2);
        detail().show();
        QVERIFY(QTest::qWaitForWindowExposed(&detail()));
        QCOMPARE(detail().Panel1->geometry(), QRect(1, 31, 410, 73));
        QCOMPARE(detail().size(), QSize(410 + 2, 490 + 32));
    }

    void closeAsksTheExitQuestionAndMaximiseDoesNothing()
    {
        const QRect before = form().geometry();
        QTest::mouseClick(button(form(), "Teljes méret"), Qt::LeftButton);
        QTest::mouseDClick(barOf(form()), Qt::LeftButton, {}, QPoint(100, 15));
        QCOMPARE(form().windowState(), Qt::WindowNoState);
        QCOMPARE(form().geometry(), before);

        BoxWatcher watcher(BoxWatcher::clickStandard(QMessageBox::No));
        QTest::mouseClick(button(form(), "Bezárás"), Qt::LeftButton);
        QTRY_COMPARE(watcher.seen().size(), size_t(1));
        QCOMPARE(watcher.seen().front().caption, QStringLiteral("Figyelem:"));
        QVERIFY(form().isVisible());
        QVERIFY(!m_program->termination.isRequested());
    }

    // The window menu, opened by a right-click on the bar, offers the bar's
    // commands; Alt+F4 closes as the close button does.
    void windowMenuAndAltF4()
    {
        QTest::mouseClick(barOf(form()), Qt::RightButton, {}, QPoint(100, 15));
        QMenu *menu = barOf(form())->findChild<QMenu *>();
        QTRY_VERIFY(menu->isVisible());
        QStringList items;
        for (QAction *item : menu->actions())
            items << item->text() + (item->isEnabled() ? "" : " (disabled)");
        QCOMPARE(items, QStringList({"Kis méret", "Teljes méret (disabled)", "", "Bezárás"}));
        menu->hide();
        QCOMPARE(barOf(detail())->findChild<QMenu *>()->actions().size(), 1);

        BoxWatcher watcher(BoxWatcher::clickStandard(QMessageBox::No));
        QTest::keyClick(&form(), Qt::Key_F4, Qt::AltModifier);
        QTRY_COMPARE(watcher.seen().size(), size_t(1));
        QCOMPARE(watcher.seen().front().caption, QStringLiteral("Figyelem:"));

        detail().show();
        QVERIFY(QTest::qWaitForWindowActive(&detail()));
        QTest::keyClick(&detail(), Qt::Key_F4, Qt::AltModifier);
        QTRY_VERIFY(!detail().isVisible());
    }

    void minimiseMinimises()
    {
        QTest::mouseClick(button(form(), "Kis méret"), Qt::LeftButton);
        QTRY_VERIFY(form().windowState().testFlag(Qt::WindowMinimized));
    }

    void detailClosesByItsCloseButton()
    {
        detail().show();
        QVERIFY(QTest::qWaitForWindowActive(&detail()));
        QTest::mouseClick(button(detail(), "Bezárás"), Qt::LeftButton);
        QTRY_VERIFY(!detail().isVisible());
    }

    // The bar shows which window is the active one, and the title it has.
    void barFollowsActivationAndTitle()
    {
        QWidget *bar = barOf(form());
        const QImage active = bar->grab().toImage();
        detail().show();
        QVERIFY(QTest::qWaitForWindowActive(&detail()));
        QTRY_VERIFY(bar->grab().toImage() != active);
        detail().hide();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QTRY_COMPARE(bar->grab().toImage(), active);
        form().setWindowTitle(QStringLiteral("Más cím"));
        QTRY_VERIFY(bar->grab().toImage() != active);
    }
};

VARGORIN_TEST_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
