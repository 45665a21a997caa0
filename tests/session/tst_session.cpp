// The end of the session (log-off, shutdown) ends the reader at once from
// every state it can be in, by either notice: SIGTERM, and the X11 session
// manager's end, which Qt hands over as a quit event. Each run goes through
// the same loop and notices as the executable's own main().
#include "handlerguard.h"
#include "messageboxes.h"
#include "program.h"
#include "shutdownnotice.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QSessionManager>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <csignal>
#include <functional>
#include <optional>
#include <stdexcept>

namespace {

const QString startUpFailure = QStringLiteral("start-up failure box");

QMessageBox *visibleBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// How to bring the program into a state, and how to tell it is there. A
// state is entered during start-up, right after the main window was shown,
// or, with beforeShow, before it.
struct State {
    std::function<void(Program &)> enter;
    std::function<bool(Program &)> reached;
    bool beforeShow = false;
};

bool boxShowing(const QString &text)
{
    QMessageBox *box = visibleBox();
    return box && box->text() == text;
}

State stateNamed(const QString &name)
{
    const auto later = [](std::function<void(Program &)> action) {
        return [action](Program &program) { QTimer::singleShot(0, &program.form, [&program, action] { action(program); }); };
    };
    if (name == "idle")
        return {[](Program &) {}, [](Program &program) { return program.form.isVisible(); }};
    if (name == "exit question, menu road")
        return {later([](Program &program) { program.form.Kilps1->trigger(); }),
                [](Program &) { return boxShowing(QString::fromUtf16(shell::exitQuestionText)); }};
    if (name == "exit question, close road")
        return {later([](Program &program) { program.form.close(); }),
                [](Program &) { return boxShowing(QString::fromUtf16(shell::exitQuestionText)); }};
    if (name == startUpFailure)
        return {[](Program &) {}, [](Program &) { return boxShowing(QStringLiteral("Hiba történt - 2 !")); }};
    if (name == "general error box")
        // A zero byte in the term cuts the search statement short.
        return {later([](Program &program) {
                    program.form.Edit1->setText(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
                    program.form.BitBtn1->click();
                }),
                [](Program &) { return visibleBox() && visibleBox()->icon() == QMessageBox::Critical; }};
    if (name == "general error box during start-up")
        return {[](Program &) { shell::guarded([] { throw std::runtime_error("disk gone"); }); },
                [](Program &) { return visibleBox() && visibleBox()->icon() == QMessageBox::Critical; },
                true};
    if (name == "detail window")
        return {later([](Program &program) { program.form.DBGrid1DblClick(); }),
                [](Program &program) { return program.detail.isVisible(); }};
    if (name == "menu open")
        return {later([](Program &program) {
                    program.form.MainMenu1->setActiveAction(program.form.Lehetsgek1->menuAction());
                }),
                [](Program &) { return QApplication::activePopupWidget() != nullptr; }};
    if (name == "tooltip shown")
        return {later([](Program &program) {
                    QToolTip::showText(program.form.mapToGlobal(QPoint(20, 20)), QStringLiteral("tipp"),
                                       &program.form, {}, 60000);
                }),
                [](Program &) { return QToolTip::isVisible(); }};
    return {};
}

enum class Notice { Sigterm, SessionManager };

void deliver(Notice notice)
{
    if (notice == Notice::Sigterm) {
        ::raise(SIGTERM);
        return;
    }
    // What Qt does with the session manager's "die" message.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
}

} // namespace

Q_DECLARE_METATYPE(Notice)

class SessionTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> m_folder;

private slots:
    void init() { m_folder = std::make_unique<ScratchFolder>(); }
    void cleanup() { m_folder.reset(); }

    void endsAtOnceFromEveryState_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Notice>("notice");
        for (const char *state : {"idle", "exit question, menu road", "exit question, close road",
                                  "start-up failure box", "general error box",
                                  "general error box during start-up", "detail window",
                                  "menu open", "tooltip shown"}) {
            QTest::addRow("%s, SIGTERM", state) << QString::fromUtf8(state) << Notice::Sigterm;
            QTest::addRow("%s, session manager", state) << QString::fromUtf8(state) << Notice::SessionManager;
        }
    }

    // The loop ends within a second of the notice, no question is asked, no
    // release sequence runs and the working copy stays on disk.
    void endsAtOnceFromEveryState()
    {
        QFETCH(QString, state);
        QFETCH(Notice, notice);
        const State target = stateNamed(state);

        // A start-up failure: a second reader in a folder that a first one uses.
        std::optional<Program> first;
        if (state == startUpFailure) {
            first.emplace();
            first->form.show();
        }
        Program program;
        shell::ShutdownNotice shutdownNotice(program.termination);

        QElapsedTimer sinceNotice;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!sinceNotice.isValid() && target.reached(program)) {
                sinceNotice.start();
                deliver(notice);
            }
        });
        poll.start(10);
        // Should the notice not get through, the test still ends.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(5000);

        const int code = program.termination.runLoop([&] {
            if (target.beforeShow)
                target.enter(program);
            program.form.show();
            if (!target.beforeShow)
                target.enter(program);
        });
        const qint64 elapsed = sinceNotice.isValid() ? sinceNotice.elapsed() : -1;

        QVERIFY2(elapsed >= 0, "the state was never reached");
        QCOMPARE(code, 0);
        QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
        QVERIFY(program.termination.isRequested());
        QVERIFY(QFileInfo(m_folder->filePath(QStringLiteral("Vargorin.db"))).isFile());
        if (state != startUpFailure)
            QVERIFY(program.form.FDConnection1.isOpen()); // no release sequence ran
    }

    // A session manager that only asks the program to save its state (a
    // checkpoint, not an end) leaves it running.
    void aRequestToSaveTheSessionEndsNothing()
    {
        Program program;
        shell::ShutdownNotice shutdownNotice(program.termination);
        QSessionManager *manager = qApp->findChild<QSessionManager *>();
        QVERIFY(manager);

        bool stillRunning = false;
        const int code = program.termination.runLoop([&] {
            program.form.show();
            emit qApp->commitDataRequest(*manager);
            emit qApp->saveStateRequest(*manager);
            QTimer::singleShot(300, [&] {
                stillRunning = !program.termination.isRequested() && program.form.isVisible();
                QCoreApplication::exit(7);
            });
        });
        QCOMPARE(code, 7);
        QVERIFY(stillRunning);
        QVERIFY(program.form.FDConnection1.isOpen());
    }
};

VARGORIN_TEST_MAIN(SessionTest)

#include "tst_session.moc"
