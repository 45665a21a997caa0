// Start-up, its failures and the two exit roads, on the real windows in a
// scratch folder of their own.
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "apptitle.h"
#include "boxwatcher.h"
#include "program.h"
#include "sqliteshell.h"
#include "testmain.h"
#include "handlerguard.h"
#include "storeerror.h"
#include "termination.h"
#include "translations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QResource>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString exitStatus = QStringLiteral("Program használatásan befejezése ?");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every statement that reaches the engine on a connection to a file named
// Vargorin.db, recorded through a hook that each new connection installs.
QStringList statements;

int recordStatement(unsigned, void *, void *, void *text)
{
    statements << QString::fromUtf8(static_cast<const char *>(text));
    return 0;
}

// An extension entry point: the engine calls it as returning int, and any
// value but SQLITE_OK fails the open that loads it.
int traceNewConnection(sqlite3 *db, const char **, const void *)
{
    const char *file = sqlite3_db_filename(db, "main");
    if (file && QString::fromUtf8(file).endsWith(QLatin1String("/Vargorin.db")))
        sqlite3_trace_v2(db, SQLITE_TRACE_STMT, recordStatement, nullptr);
    return SQLITE_OK;
}

} // namespace

class StartUpTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home = QDir::currentPath();

    QString workingCopy() const { return m_dir->filePath(QStringLiteral("Vargorin.db")); }

    void swapCarriedDatabase(const char *fixture)
    {
        Q_CLEANUP_RESOURCE(carried);
        if (fixture)
            QVERIFY(QResource::registerResource(QStringLiteral(FIXTURE_DIR "/%1.rcc").arg(QLatin1String(fixture))));
    }
    void restoreCarriedDatabase(const char *fixture)
    {
        if (fixture)
            QResource::unregisterResource(QStringLiteral(FIXTURE_DIR "/%1.rcc").arg(QLatin1String(fixture)));
        Q_INIT_RESOURCE(carried);
    }

private slots:
    void initTestCase()
    {
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceNewConnection));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        statements.clear();
    }

    void cleanup()
    {
        QDir::setCurrent(m_home);
        m_dir.reset();
    }

    void normalStartShowsNoMessageAndListsThePoems()
    {
        BoxWatcher watcher;
        Program program;
        program.form.show();

        QVERIFY(watcher.seen().empty());
        QVERIFY(!program.termination.isRequested());
        QCOMPARE(program.form.windowTitle(), QStringLiteral("Vargorin összes költeménye:"));
        QCOMPARE(program.form.v_prdir, QFile::encodeName(m_dir->path()));
        QCOMPARE(program.form.Edit1->text(), QString());
        QCOMPARE(program.form.Label12->text(), QStringLiteral("13"));
        QCOMPARE(program.form.PageControl1->currentIndex(), 0);
        QVERIFY(program.form.FDConnection1.isOpen());
        QVERIFY(program.form.FDQuery1.isActive());
        QVERIFY(program.detail.isHidden());
        QCOMPARE(readAll(workingCopy()), readAll(QStringLiteral(VARGORIN_CARRIED_DB)));
    }

    void connectingSendsExactlyTheFiveSettings()
    {
        Program program;
        program.form.show();
        const QStringList expected = {
            "PRAGMA cache_size = 500",       "PRAGMA locking_mode = Exclusive",
            "PRAGMA synchronous = Off",      "PRAGMA journal_mode = Off",
            "PRAGMA foreign_keys = On",      "Select * from tbl_Data",
        };
        QCOMPARE(statements.mid(0, expected.size()), expected);
    }

    void startUpFailures_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("firstMessage");
        QTest::addColumn<bool>("copyStays");
        QTest::newRow("resource missing") << "resource missing" << "Hiba történt - 1 !" << false;
        QTest::newRow("folder gone") << "folder gone" << "Hiba történt - 2 !" << false;
        QTest::newRow("read-only copy") << "read-only copy" << "Hiba történt - 2 !" << true;
        QTest::newRow("directory in the way") << "directory" << "Hiba történt - 2 !" << false;
        QTest::newRow("symbolic link") << "symbolic link" << "Hiba történt - 2 !" << true;
        QTest::newRow("open in another program") << "another program" << "Hiba történt - 2 !" << true;
        QTest::newRow("missing table") << "notable" << "Lekérdezés nem hajtható végre !" << true;
        QTest::newRow("not a database") << "notadatabase" << "Adatállomány nem nyitható meg !" << true;
    }

    // Only the first failure's message waits for the user; the program then
    // ends without the exit question.
    void startUpFailures()
    {
        QFETCH(QString, situation);
        QFETCH(QString, firstMessage);
        QFETCH(bool, copyStays);

        const char *fixture = nullptr;
        if (situation == "notable")
            fixture = "notable";
        else if (situation == "notadatabase")
            fixture = "notadatabase";
        const bool swapped = fixture || situation == "resource missing";
        if (swapped)
            swapCarriedDatabase(fixture);
        const auto restore = qScopeGuard([&] {
            if (swapped)
                restoreCarriedDatabase(fixture);
        });

        const QByteArray olderCopy = "an older run's working copy";
        const QString victim = m_dir->filePath(QStringLiteral("victim.txt"));
        if (situation == "read-only copy") {
            QFile file(workingCopy());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(olderCopy);
            file.close();
            QVERIFY(::chmod(QFile::encodeName(workingCopy()).constData(), 0444) == 0);
        } else if (situation == "directory") {
            QVERIFY(QDir().mkdir(workingCopy()));
        } else if (situation == "symbolic link") {
            QFile file(victim);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(olderCopy);
            file.close();
            QVERIFY(QFile::link(victim, workingCopy()));
        } else if (situation == "folder gone") {
            QVERIFY(QDir().rmdir(m_dir->path())); // still the current folder, but gone
        }
        // An older copy (a database of another shape) that the sqlite3 shell
        // reads in an open transaction.
        const QString otherShape = QStringLiteral(VARGORIN_SOURCE_DIR "/tests/app/fixtures/notable.db");
        std::optional<SqliteShell> otherProgram;
        if (situation == "another program") {
            QVERIFY(QFile::copy(otherShape, workingCopy()));
            QVERIFY(QFile::setPermissions(workingCopy(), QFile::ReadOwner | QFile::WriteOwner));
            otherProgram.emplace(workingCopy(), "BEGIN");
            QVERIFY(otherProgram->isHolding());
        }

        BoxWatcher watcher;
        {
            Program program;
            program.form.show();

            QVERIFY(program.termination.isRequested());
            QCOMPARE(watcher.seen().size(), size_t(1));
            const BoxWatcher::Seen &box = watcher.seen().front();
            QCOMPARE(box.text, firstMessage);
            QCOMPARE(box.caption, shell::applicationTitle());
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
            QVERIFY(!program.form.FDQuery1.isActive());
        }

        QCOMPARE(QFileInfo(workingCopy()).isFile(), copyStays);
        if (situation == "read-only copy")
            QCOMPARE(readAll(workingCopy()), olderCopy);
        if (situation == "symbolic link")
            QCOMPARE(readAll(victim), olderCopy);
        if (situation == "another program")
            QCOMPARE(readAll(workingCopy()), readAll(otherShape));
    }

    // A folder whose name is not UTF-8, beside the folder that its name
    // decodes to as text (each bad byte turned into U+FFFD): the reader
    // writes, opens and deletes its working copy in its own folder and never
    // touches the other one.
    void folderWhoseNameIsNotUtf8()
    {
        const QByteArray base = QFile::encodeName(m_dir->path());
        const QByteArray folder = base + "/caf\xe9";
        const QByteArray lookAlike = base + "/caf\xef\xbf\xbd";
        QCOMPARE(QFile::encodeName(QFile::decodeName(folder)), lookAlike);
        QVERIFY(::mkdir(folder.constData(), 0700) == 0);
        QVERIFY(::mkdir(lookAlike.constData(), 0700) == 0);
        const QByteArray planted = lookAlike + "/Vargorin.db";
        QFile plantedFile(QFile::decodeName(planted));
        QVERIFY(plantedFile.open(QIODevice::WriteOnly));
        plantedFile.write("somebody else's database");
        plantedFile.close();
        const auto leave = qScopeGuard([&] {
            QDir::setCurrent(m_home);
            ::unlink(planted.constData());
            ::unlink((folder + "/Vargorin.db").constData());
            ::rmdir(folder.constData());
            ::rmdir(lookAlike.constData());
        });
        QVERIFY(::chdir(folder.constData()) == 0);

        const QByteArray copy = folder + "/Vargorin.db";
        BoxWatcher watcher(BoxWatcher::clickStandard(QMessageBox::Yes));
        Program program;
        program.form.show();
        QVERIFY(!program.termination.isRequested());
        QCOMPARE(program.form.Label12->text(), QStringLiteral("13"));
        QVERIFY(resources::WorkingCopy::exists(copy));

        program.form.Kilps1->trigger();
        QCOMPARE(watcher.seen().size(), size_t(1)); // the exit question, nothing else
        QVERIFY(program.termination.isRequested());
        QVERIFY(!resources::WorkingCopy::exists(copy));
        QCOMPARE(readAll(QFile::decodeName(planted)), QByteArray("somebody else's database"));
    }

    // A file moved to the working copy's path while the reader runs is not
    // the reader's: a confirmed exit leaves it where it is.
    void fileMovedInPlaceOfTheCopySurvivesTheExit()
    {
        Program program;
        program.form.show();
        const QString elsewhere = m_dir->filePath(QStringLiteral("letter.txt"));
        QFile letter(elsewhere);
        QVERIFY(letter.open(QIODevice::WriteOnly));
        letter.write("a letter");
        letter.close();
        QVERIFY(::rename(QFile::encodeName(elsewhere).constData(), QFile::encodeName(workingCopy()).constData()) == 0);

        BoxWatcher watcher(BoxWatcher::clickStandard(QMessageBox::Yes));
        program.form.Kilps1->trigger();
        QVERIFY(program.termination.isRequested());
        QCOMPARE(readAll(workingCopy()), QByteArray("a letter"));
    }

    void secondReaderInTheSameFolderLeavesTheFirstAlone()
    {
        Program first;
        first.form.show();
        QVERIFY(!first.termination.isRequested());
        struct stat before {};
        QVERIFY(::stat(QFile::encodeName(workingCopy()).constData(), &before) == 0);

        BoxWatcher watcher;
        {
            Program second;
            second.form.show();
            QVERIFY(second.termination.isRequested());
        }
        QVERIFY(!watcher.seen().empty());
        QCOMPARE(watcher.seen().front().text, QStringLiteral("Hiba történt - 2 !"));

        struct stat after {};
        QVERIFY(::stat(QFile::encodeName(workingCopy()).constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        QCOMPARE(readAll(workingCopy()), readAll(QStringLiteral(VARGORIN_CARRIED_DB)));
        QVERIFY(!first.termination.isRequested());
        first.form.FDQuery1.last();
        QCOMPARE(first.form.FDQuery1.fieldText(QStringLiteral("AZ")), QStringLiteral("705"));
    }

    void exitRoads_data()
    {
        QTest::addColumn<bool>("menuRoad");
        QTest::addColumn<bool>("yes");
        QTest::newRow("menu, No") << true << false;
        QTest::newRow("menu, Yes") << true << true;
        QTest::newRow("close, No") << false << false;
        QTest::newRow("close, Yes") << false << true;
    }

    // Either road asks once, shows its status text while asking and clears
    // it after; Yes releases the store and deletes the working copy, No
    // leaves everything as it was.
    void exitRoads()
    {
        QFETCH(bool, menuRoad);
        QFETCH(bool, yes);
        Program program;
        program.form.show();

        BoxWatcher watcher(BoxWatcher::clickStandard(yes ? QMessageBox::Yes : QMessageBox::No));
        watcher.statusProbe = [&] { return program.panel0(); };
        if (menuRoad)
            program.form.Kilps1->trigger();
        else
            QCOMPARE(program.form.close(), yes);

        QCOMPARE(watcher.seen().size(), size_t(1));
        const BoxWatcher::Seen &box = watcher.seen().front();
        QCOMPARE(box.caption, QStringLiteral("Figyelem:"));
        QCOMPARE(box.text, QStringLiteral("Biztosan be kívánja fejezni a program használatát ?"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.statusTextWhileOpen, exitStatus);
        QCOMPARE(program.panel0(), QString());

        QCOMPARE(program.termination.isRequested(), yes);
        QCOMPARE(program.form.FDConnection1.isOpen(), !yes);
        QCOMPARE(program.form.FDQuery1.isActive(), !yes);
        QCOMPARE(QFile::exists(workingCopy()), !yes);
        // The menu road never passes through the close road.
        QCOMPARE(program.form.isVisible(), menuRoad || !yes);
    }

    void yesWhenTheCopyIsAlreadyGoneEndsQuietly()
    {
        Program program;
        program.form.show();
        QVERIFY(QFile::remove(workingCopy()));

        BoxWatcher watcher(BoxWatcher::clickStandard(QMessageBox::Yes));
        program.form.Kilps1->trigger();
        QCOMPARE(watcher.seen().size(), size_t(1));
        QVERIFY(program.termination.isRequested());
    }

    // A store that cannot be closed abandons the road: the failure is shown,
    // the working copy stays, and the program keeps running. On the menu road
    // the question's status text stays in panel 0.
    void exitFailures_data()
    {
        QTest::addColumn<bool>("menuRoad");
        QTest::newRow("menu") << true;
        QTest::newRow("close") << false;
    }

    void exitFailures()
    {
        QFETCH(bool, menuRoad);
        Program program;
        program.form.show();
        // A statement left unfinalized by somebody makes the engine refuse to close.
        sqlite3_stmt *stray = nullptr;
        QCOMPARE(sqlite3_prepare_v2(program.form.FDConnection1.handle(), "SELECT 1", -1, &stray, nullptr),
                 SQLITE_OK);
        const auto finalizeStray = qScopeGuard([&] { sqlite3_finalize(stray); });

        BoxWatcher watcher([](QMessageBox &box) {
            if (QAbstractButton *yes = box.button(QMessageBox::Yes))
                yes->click();
            else
                box.buttons().front()->click();
        });
        if (menuRoad)
            program.form.Kilps1->trigger();
        else
            QVERIFY(!program.form.close());

        QCOMPARE(watcher.seen().size(), size_t(2));
        QCOMPARE(watcher.seen().back().icon, QMessageBox::Critical);
        QVERIFY(!program.termination.isRequested());
        QVERIFY(QFile::exists(workingCopy()));
        QVERIFY(program.form.isVisible());
        QCOMPARE(program.panel0(), menuRoad ? exitStatus : QString());
    }

    // Esc and the box's close button must not answer No; Enter answers Yes.
    void exitQuestionTakesOnlyYesOrNo()
    {
        Program program;
        program.form.show();
        bool stayedOpen = false;
        QString yesLabel, noLabel;
        BoxWatcher watcher([&](QMessageBox &box) {
            yesLabel = box.button(QMessageBox::Yes)->text();
            noLabel = box.button(QMessageBox::No)->text();
            QTest::keyClick(&box, Qt::Key_Escape);
            box.close();
            stayedOpen = box.isVisible();
            QTest::keyClick(&box, Qt::Key_Return);
        });
        program.form.Kilps1->trigger();

        QVERIFY(stayedOpen);
        QVERIFY(program.termination.isRequested());
        // The standard buttons speak the system's language (Hungarian here).
        QCOMPARE(yesLabel, QStringLiteral("&Igen"));
        QCOMPARE(noLabel, QStringLiteral("&Nem"));
    }

    void failureEscapingAHandlerIsShownAndTheProgramCarriesOn()
    {
        BoxWatcher watcher;
        bool reachedTheEnd = false;
        const bool completed = shell::guarded([&] {
            throw store::StoreError("LIKE or GLOB pattern too complex");
            reachedTheEnd = true;
        });
        QVERIFY(!completed);
        QVERIFY(!reachedTheEnd);
        QCOMPARE(watcher.seen().size(), size_t(1));
        const BoxWatcher::Seen &box = watcher.seen().front();
        QCOMPARE(box.text, QStringLiteral("LIKE or GLOB pattern too complex."));
        QCOMPARE(box.caption, shell::applicationTitle());
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons.size(), 1);
    }

    void generalErrorText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "disk gone" << "disk gone.";
        QTest::newRow("full stop") << "disk gone." << "disk gone.";
        QTest::newRow("exclamation mark") << "disk gone!" << "disk gone!";
        QTest::newRow("closing parenthesis") << "(x)" << "(x)";
        QTest::newRow("slash") << "a/" << "a/.";
        QTest::newRow("accented") << "hiba történt: ő" << "hiba történt: ő.";
        QTest::newRow("empty") << "" << "";
    }

    void generalErrorText()
    {
        QFETCH(QString, description);
        QFETCH(QString, shown);
        QCOMPARE(shell::generalErrorText(description), shown);
    }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("title");
        QTest::newRow("our executable") << "/usr/bin/vargorin" << "vargorin";
        QTest::newRow("extension") << "C:/Programs/MyReader.exe" << "Myreader";
        QTest::newRow("several periods") << "/opt/ab.CD.exe" << "ab";
        QTest::newRow("capitals") << "VARGORIN" << "Vargorin";
        QTest::newRow("accented") << "/x/ÖSSZES.exe" << "Összes";
    }

    void applicationTitle()
    {
        QFETCH(QString, executable);
        QFETCH(QString, title);
        QCOMPARE(shell::applicationTitleFor(executable), title);
    }
};

// A Hungarian desktop, so that the standard buttons' labels can be checked.
static const bool hungarianDesktop = qputenv("LC_ALL", "hu_HU.UTF-8");
VARGORIN_TEST_MAIN(StartUpTest)

#include "tst_startup.moc"
