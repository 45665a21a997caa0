// The poem detail window driven with real events over the carried poems: the
// title and text following the cursor, the navigator bar's buttons, hints and
// auto-repeat, the keyboard in the text box, and showing and closing.
#include "widgets/dbnavigator.h"
#include "platform/windowframe.h"
#include "program.h"
#include "testmain.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <map>

namespace {

// A poem's CIM, VERS, DATUM, FOTO and AZ, with its text's line breaks made over by an expression.
QString poemQuery(int key, const QString &text = QStringLiteral("VERS"))
{
    return QStringLiteral("Select CIM, %1 AS VERS, DATUM, FOTO, AZ from tbl_Data where AZ = %2")
        .arg(text)
        .arg(key);
}

// Where the text box stands: its caret and selection and how far it is scrolled.
struct View {
    int anchor;
    int position;
    int scroll;
    bool operator==(const View &) const = default;
};

View viewOf(const QPlainTextEdit &box)
{
    return {box.textCursor().anchor(), box.textCursor().position(), box.verticalScrollBar()->value()};
}

char *toString(const View &view)
{
    return QTest::toString(QStringLiteral("caret %1..%2, scrolled %3")
                               .arg(view.anchor)
                               .arg(view.position)
                               .arg(view.scroll));
}

} // namespace

class DetailTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> m_folder;
    std::unique_ptr<Program> m_program;

    TForm1 &form() { return m_program->form; }
    TForm2 &detail() { return m_program->detail; }
    store::RecordSet &records() { return form().FDQuery1; }
    QPlainTextEdit &memo() { return *detail().Memo1; }
    QAbstractButton *button(ui::DBNavigator::Button which) { return detail().DBNavigator1->button(which); }

    void reopen(const QString &query)
    {
        records().close();
        records().clearSql();
        records().addSql(query);
        records().open();
    }

    // Which buttons can act, as "FPNL" with a dash for each disabled one.
    QString enabledButtons()
    {
        QString pattern;
        for (const auto &[which, letter] : {std::pair{ui::DBNavigator::First, u'F'}, {ui::DBNavigator::Prior, u'P'},
                                            {ui::DBNavigator::Next, u'N'}, {ui::DBNavigator::Last, u'L'}})
            pattern += button(which)->isEnabled() ? QChar(letter) : QChar(u'-');
        return pattern;
    }

    // Shows the window as a double-click in the title grid does (both
    // picture buttons disabled, then modally), runs the steps inside its
    // loop and closes it with the close box, also when a step fails.
    int showModal(const std::function<void()> &steps)
    {
        QTimer::singleShot(0, &detail(), [&] {
            const auto closeBox = qScopeGuard([&] { detail().close(); });
            // Its platform window counts as active with its owner already;
            // the window itself is active once the application says so.
            QTRY_COMPARE(QApplication::activeWindow(), &detail());
            steps();
        });
        detail().BitBtn1->setEnabled(false);
        detail().BitBtn2->setEnabled(false);
        return detail().exec();
    }

    // What the window shows of the title on screen, and the same part of the
    // window drawn afresh from its current state.
    QRect titleArea() { return {detail().Label1->mapTo(&detail(), QPoint()), detail().Label1->size()}; }

    QImage titleOnScreen()
    {
        const QRect title = titleArea();
        return detail().screen()->grabWindow(detail().winId(), title.x(), title.y(), title.width(), title.height())
            .toImage().convertToFormat(QImage::Format_RGB32);
    }

    QImage titleDrawnAfresh()
    {
        return detail().grab(titleArea()).toImage().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<ScratchFolder>();
        m_program = std::make_unique<Program>();
        form().show();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }

    void cleanup()
    {
        m_program.reset();
        m_folder.reset();
    }

    // A new title's accents stand above the label's text area; none of the
    // previous title's may stay behind there.
    void titleRedrawnWholeOnEveryMove()
    {
        showModal([&] {
            QTRY_COMPARE(titleOnScreen(), titleDrawnAfresh());
            for (int move = 0; move < 4; ++move) {
                QTest::mouseClick(button(ui::DBNavigator::Next), Qt::LeftButton);
                QTRY_COMPARE(titleOnScreen(), titleDrawnAfresh());
            }
        });
    }

    // Each step is "action buttons record": the action (a button clicked, or
    // the record set opened on the row's query or closed), then the buttons
    // that can act and the record number. After every step the title and
    // the text are those of the current record, or empty without one.
    void buttonsFollowTheMarkers_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("steps");
        const QString all = QString::fromLatin1(store::RecordSet::baseQuery);
        QTest::newRow("opened on the first of many") << all << QStringList{"open --NL 1"};
        QTest::newRow("prior onto the first, then prior again")
            << all << QStringList{"open --NL 1", "next FPNL 2", "prior FPNL 1", "prior --NL 1"};
        QTest::newRow("next onto the last, then next again")
            << all << QStringList{"open --NL 1", "last FP-- 13", "prior FPNL 12", "next FPNL 13",
                                  "next FP-- 13", "first --NL 1"};
        QTest::newRow("one record")
            << poemQuery(700) << QStringList{"open --NL 1", "next FP-- 1", "prior --NL 1", "last FP-- 1"};
        QTest::newRow("empty result")
            << all + " where AZ < 0" << QStringList{"open ---- 0", "next ---- 0", "last ---- 0"};
        QTest::newRow("closed") << all << QStringList{"close ---- 0", "first ---- 0", "open --NL 1"};
    }

    void buttonsFollowTheMarkers()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, steps);
        const std::map<QString, ui::DBNavigator::Button> clicks{
            {"first", ui::DBNavigator::First}, {"prior", ui::DBNavigator::Prior},
            {"next", ui::DBNavigator::Next}, {"last", ui::DBNavigator::Last}};
        showModal([&] {
            for (const QString &step : std::as_const(steps)) {
                const QStringList parts = step.split(u' ');
                if (parts[0] == "open")
                    reopen(query);
                else if (parts[0] == "close")
                    records().close();
                else
                    QTest::mouseClick(button(clicks.at(parts[0])), Qt::LeftButton);
                QCOMPARE(enabledButtons(), parts[1]);
                QCOMPARE(records().recordNumber(), parts[2].toInt());
                const bool onRecord = records().recordNumber() > 0;
                QCOMPARE(detail().Label1->text(), onRecord ? records().fieldText("CIM") : QString());
                QCOMPARE(memo().toPlainText(), onRecord ? records().fieldText("VERS") : QString());
            }
        });
    }

    void navigatorButtonsShareTheBar()
    {
        showModal([&] {
            for (int index = 0; index < ui::DBNavigator::visibleButtons; ++index)
                QCOMPARE(button(ui::DBNavigator::Button(index))->geometry(), QRect(92 * index, 0, 92, 33));
        });
    }

    // Every line break, whatever its form, starts a line of its own; and a
    // text that is already there, in whichever form, is left as it was.
    void lineBreaksStartNewLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("LF as stored") << "VERS";
        QTest::newRow("CR LF") << "replace(VERS, char(10), char(13) || char(10))";
        QTest::newRow("lone CR") << "replace(VERS, char(10), char(13))";
    }

    void lineBreaksStartNewLines()
    {
        QFETCH(QString, text);
        reopen(poemQuery(698));
        const QString lines = records().fieldText("VERS");
        QVERIFY(lines.count(u'\n') > 400);
        QVERIFY(!lines.contains(u'\r'));

        reopen(poemQuery(698, text));
        showModal([&] {
            QCOMPARE(memo().toPlainText(), lines);
            QCOMPARE(memo().blockCount(), lines.count(u'\n') + 1);
            QCOMPARE(memo().document()->findBlockByNumber(2).text(), lines.section(u'\n', 2, 2));

            QTextCursor selection = memo().textCursor();
            selection.setPosition(900);
            selection.setPosition(960, QTextCursor::KeepAnchor);
            memo().setTextCursor(selection);
            memo().verticalScrollBar()->setValue(120);
            const View before = viewOf(memo());
            QCOMPARE(records().moveBy(1), 0); // the only record: no move, but a notification
            QCOMPARE(enabledButtons(), QStringLiteral("FP--"));
            QCOMPARE(viewOf(memo()), before);
        });
    }

    // A title too long for one line wraps inside the label, which keeps its
    // place and size: its ink runs down further than one line could reach,
    // and stops short of the label's bottom edge.
    void longTitleWrapsInsideTheLabel()
    {
        const QString title = QStringLiteral("ÉJFÉLKOR A MALOMKERT ALATT, AHOL A KÉK MADÁR ÉNEKEL");
        reopen(QStringLiteral("Select AZ, '%1' AS CIM, VERS, DATUM, FOTO from tbl_Data where AZ = 693").arg(title));
        QCOMPARE(detail().Label1->text(), title);
        showModal([&] {
            QCOMPARE(detail().Label1->geometry(), QRect(7, 16, 385, 51));
            const QImage shown = detail().Label1->grab().toImage();
            int firstInk = -1, lastInk = -1;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    if (qGray(shown.pixel(x, y)) < 128) { // dark text on the light panel
                        firstInk = firstInk < 0 ? y : firstInk;
                        lastInk = y;
                        break;
                    }
                }
            }
            QVERIFY(firstInk >= 0);
            QVERIFY2(lastInk - firstInk >= detail().Label1->fontMetrics().lineSpacing(), "the title stays on one line");
            QVERIFY(lastInk < shown.height() - 1);
        });
    }

    void longestPoemIsWholeAndReadByKeyboard()
    {
        records().goToRecord(8);
        QCOMPARE(records().fieldText("AZ"), QStringLiteral("700"));
        const QString poem = records().fieldText("VERS");
        QCOMPARE(poem.size(), 230633);
        QCOMPARE(detail().Label1->text(), QStringLiteral("A VÁNDOR KÖNYVE"));

        showModal([&] {
            QCOMPARE(memo().toPlainText(), poem);
            QCOMPARE(detail().focusWidget(), &memo());
            QScrollBar *bar = memo().verticalScrollBar();
            QCOMPARE(bar->value(), 0);
            const QRect viewport = memo().viewport()->rect();
            QTextCursor end(memo().document());
            end.movePosition(QTextCursor::End);
            bar->setValue(bar->maximum());
            QVERIFY(bar->value() > 6000); // one step a line
            QVERIFY(viewport.contains(memo().cursorRect(end)));
            bar->setValue(0);

            QTest::keyClick(&memo(), Qt::Key_End, Qt::ControlModifier);
            QVERIFY(memo().textCursor().atEnd());
            QVERIFY(viewport.contains(memo().cursorRect()));

            QTest::keyClick(&memo(), Qt::Key_Up, Qt::ShiftModifier);
            QTest::keyClick(&memo(), Qt::Key_Up, Qt::ShiftModifier);
            const int from = memo().textCursor().selectionStart();
            QVERIFY(from < poem.size() - 10);
            QTest::keyClick(&memo(), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), poem.mid(from));

            QTest::keyClick(&memo(), Qt::Key_PageUp);
            QVERIFY(bar->value() < bar->maximum());
            QVERIFY(!memo().textCursor().hasSelection());
            QTest::keyClick(&memo(), Qt::Key_Home, Qt::ControlModifier);
            QCOMPARE(memo().textCursor().position(), 0);
            QCOMPARE(bar->value(), 0);
        });
    }

    // Keys that would edit, confirm or cancel: the text, the caret, the
    // record and the window all stay as they were, and the focus stays put.
    void editingKeysChangeNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers();
        QTest::newRow("space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << Qt::KeyboardModifiers();
        QTest::newRow("Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers();
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
        QTest::newRow("Tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers();
    }

    void editingKeysChangeNothing()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        records().goToRecord(6);
        const QString title = records().fieldText("CIM");
        const QString text = records().fieldText("VERS");
        QGuiApplication::clipboard()->setText(QStringLiteral("beillesztett sor"));

        const int result = showModal([&] {
            QTest::keyClick(&memo(), Qt::Key_PageDown);
            QTest::keyClick(&memo(), Qt::Key_Down, Qt::ShiftModifier);
            const View before = viewOf(memo());
            QVERIFY(memo().textCursor().hasSelection());

            QTest::keyClick(detail().focusWidget(), Qt::Key(key), modifiers);
            QVERIFY(detail().isVisible());
            QCOMPARE(detail().focusWidget(), &memo());
            QCOMPARE(viewOf(memo()), before);
            QCOMPARE(memo().toPlainText(), text);
            QCOMPARE(records().recordNumber(), 6);
            QCOMPARE(records().fieldText("VERS"), text);
            QCOMPARE(records().fieldText("CIM"), title);
        });
        QCOMPARE(result, int(QDialog::Rejected));

        // Moving on afterwards writes nothing: the working copy is still the carried file.
        records().moveBy(1);
        QFile carried(QStringLiteral(VARGORIN_CARRIED_DB));
        QFile workingCopy(m_folder->filePath(QStringLiteral("Vargorin.db")));
        QVERIFY(carried.open(QIODevice::ReadOnly) && workingCopy.open(QIODevice::ReadOnly));
        QVERIFY(workingCopy.readAll() == carried.readAll());
    }

    // Centred on the first show only; after that the window comes back where
    // the user left it, and on the same record the text box is as it was.
    void reopensAsItWasLeft()
    {
        records().goToRecord(8);
        const QPoint dragged(37, 21);
        View left{};
        showModal([&] {
            QCOMPARE(detail().pos(), platform::centredIn(detail().screen()->availableGeometry(),
                                                      detail().frameGeometry().size()));
            detail().windowHandle()->setFramePosition(dragged);
            QTRY_COMPARE(detail().pos(), dragged);
            QTest::keyClick(&memo(), Qt::Key_PageDown);
            QTest::keyClick(&memo(), Qt::Key_PageDown);
            QTest::keyClick(&memo(), Qt::Key_Down, Qt::ShiftModifier);
            left = viewOf(memo());
            QVERIFY(left.scroll > 0 && left.anchor != left.position);
        });
        QVERIFY(!detail().isVisible());

        showModal([&] {
            QCOMPARE(detail().pos(), dragged);
            QCOMPARE(viewOf(memo()), left);
        });

        // Away and back while the window was hidden: the same record, as it was left.
        records().moveBy(1);
        records().moveBy(-1);
        showModal([&] { QCOMPARE(viewOf(memo()), left); });

        // Another record: its text from the first line.
        records().moveBy(1);
        showModal([&] {
            QCOMPARE(detail().pos(), dragged);
            QCOMPARE(viewOf(memo()), View({0, 0, 0}));
            QCOMPARE(memo().toPlainText(), records().fieldText("VERS"));
        });
    }

    // The window belongs to the main window, so that a compositor keeps it
    // above its owner (Wayland has no hidden leader window to tie it to).
    void belongsToTheMainWindow()
    {
        showModal([&] { QCOMPARE(detail().windowHandle()->transientParent(), form().windowHandle()); });
    }

    // A hidden window's text box takes no new text, which would be laid out
    // for nobody (the longest poem at every search that lands on it); it
    // catches up when the window is shown.
    void hiddenTextBoxCatchesUpWhenShown()
    {
        showModal([] {});
        const QString first = memo().toPlainText();
        records().goToRecord(8);
        QCOMPARE(records().fieldText("VERS").size(), 230633);
        QCOMPARE(memo().toPlainText(), first);
        showModal([&] { QCOMPARE(memo().toPlainText(), records().fieldText("VERS")); });
    }

    void navigatorHintsShowInPanel0AndAsTooltips_data()
    {
        QTest::addColumn<ui::DBNavigator::Button>("which");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("status");
        QTest::newRow("first") << ui::DBNavigator::First << false << "Első rekord" << "Első rekord !";
        QTest::newRow("prior") << ui::DBNavigator::Prior << false << "Előző rekord" << "Előző rekord !";
        QTest::newRow("next") << ui::DBNavigator::Next << true << "Következő rekord" << "Következő rekord !";
        QTest::newRow("last") << ui::DBNavigator::Last << true << "Utolsó rekord" << "Utolsó rekord !";
    }

    void navigatorHintsShowInPanel0AndAsTooltips()
    {
        QFETCH(ui::DBNavigator::Button, which);
        QFETCH(bool, enabled);
        QFETCH(QString, tooltip);
        QFETCH(QString, status);
        showModal([&] {
            QCOMPARE(button(which)->isEnabled(), enabled);
            QTest::mouseMove(button(which));
            QTRY_COMPARE(m_program->panel0(), status);
            // Generous for a busy machine, where the 500 ms rest can end seconds late.
            QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 30000);
            QCOMPARE(QToolTip::text(), tooltip);

            QTest::mouseMove(&memo());
            QTRY_COMPARE(m_program->panel0(), QString());
            QTRY_VERIFY(!QToolTip::isVisible());
        });
    }

    // Held down, next moves once 400 ms after the press and then every
    // 100 ms, until the step that finds the end disables it.
    void holdingNextWalksToTheEnd()
    {
        QList<qint64> moves;
        QElapsedTimer clock;
        const auto noteMove = [&] { moves << clock.elapsed(); };
        connect(&form().DataSource1, &store::DataSource::scrolledBy, this, noteMove);
        connect(&form().DataSource1, &store::DataSource::dataSetChanged, this, noteMove);

        showModal([&] {
            QAbstractButton *next = button(ui::DBNavigator::Next);
            clock.start();
            QTest::mousePress(next, Qt::LeftButton);
            QCOMPARE(detail().focusWidget(), &memo());
            QTRY_VERIFY_WITH_TIMEOUT(!next->isEnabled(), 60000); // generous for a busy machine
            QTest::mouseRelease(next, Qt::LeftButton);
            QCOMPARE(records().recordNumber(), 13);
            QCOMPARE(enabledButtons(), QStringLiteral("FP--"));
            QCOMPARE(detail().focusWidget(), &memo());
        });

        QCOMPARE(moves.size(), 13); // twelve moves, then the step that finds no more
        // Qt's coarse timers may fire up to 5 % early.
        QVERIFY2(moves.first() >= 380, qPrintable(QString::number(moves.first())));
        QList<qint64> gaps;
        for (qsizetype index = 1; index < moves.size(); ++index)
            gaps << moves[index] - moves[index - 1];
        // The typical gap is the repeat interval: a single gap may come short
        // after a move that a busy machine delayed, as the next tick was
        // already counting.
        std::sort(gaps.begin(), gaps.end());
        const qint64 typical = gaps[gaps.size() / 2];
        QVERIFY2(typical >= 95 && typical < 250, qPrintable(QString::number(typical)));
    }

    void firstAndLastDoNotRepeat_data()
    {
        QTest::addColumn<ui::DBNavigator::Button>("which");
        QTest::addColumn<int>("arrival");
        QTest::newRow("first") << ui::DBNavigator::First << 1;
        QTest::newRow("last") << ui::DBNavigator::Last << 13;
    }

    void firstAndLastDoNotRepeat()
    {
        QFETCH(ui::DBNavigator::Button, which);
        QFETCH(int, arrival);
        records().goToRecord(7);
        int notifications = 0;
        connect(&form().DataSource1, &store::DataSource::dataSetChanged, this, [&] { ++notifications; });

        showModal([&] {
            QTest::mousePress(button(which), Qt::LeftButton);
            QTest::qWait(650); // past the first repeat and a few more
            QCOMPARE(notifications, 0);
            QTest::mouseRelease(button(which), Qt::LeftButton);
            QCOMPARE(notifications, 1);
            QCOMPARE(records().recordNumber(), arrival);
        });
    }
};

VARGORIN_TEST_MAIN(DetailTest)
#include "tst_detail.moc"
