// The working copy on disk: written from the carried bytes, refused where
// writing would lose or corrupt something, tested for and deleted.
#include "sqliteshell.h"
#include "workingcopy.h"
#include "workingfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using resources::CarriedDatabase;
using resources::WorkingCopy;

namespace {

bool throwsWriteFailed(const QByteArray &bytes, const QString &path)
{
    return throwsWriteFailed(bytes, QFile::encodeName(path));
}

} // namespace

class WorkingCopyTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    static QByteArray native(const QString &path) { return QFile::encodeName(path); }

private slots:
    void carriedResourceIsTheCommittedFile()
    {
        const QByteArray committed = readAll(QStringLiteral(VARGORIN_CARRIED_DB));
        QVERIFY(!committed.isEmpty());
        QCOMPARE(CarriedDatabase::load().bytes(), committed);
    }

    void missingResourceIsReported()
    {
        QVERIFY_THROWS_EXCEPTION(CarriedDatabase::Missing,
                                 CarriedDatabase::load(QStringLiteral("Resource_2")));
    }

    // The new bytes go over the older ones: nothing of the older copy may
    // show through, before or after the end.
    void writesTheBytesOverAnOlderCopy_data()
    {
        const qsizetype carried = CarriedDatabase::load().bytes().size();
        QTest::addColumn<qsizetype>("olderSize");
        QTest::newRow("longer") << qsizetype(500000);
        QTest::newRow("as long") << carried;
        QTest::newRow("shorter") << carried / 3;
        QTest::newRow("empty") << qsizetype(0);
    }

    void writesTheBytesOverAnOlderCopy()
    {
        QFETCH(qsizetype, olderSize);
        const QString target = path("Vargorin.db");
        writeFile(target, QByteArray(olderSize, 'x'));
        const QByteArray bytes = CarriedDatabase::load().bytes();
        {
            const WorkingCopy copy = WorkingCopy::write(bytes, native(target));
            QVERIFY(copy.isHeld());
        }
        QCOMPARE(readAll(target), bytes);
    }

    void readOnlyCopyIsNotReplaced()
    {
        // Also as root, who could write it regardless of the mode.
        const QString target = path("readonly.db");
        writeFile(target, "older run");
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0444) == 0);
        QVERIFY(throwsWriteFailed("new bytes", target));
        QCOMPARE(readAll(target), QByteArray("older run"));
    }

    void symbolicLinkIsNeverWrittenThrough()
    {
        const QString victim = path("victim.txt");
        writeFile(victim, "somebody else's file");
        const QString link = path("link.db");
        QVERIFY(QFile::link(victim, link));
        QVERIFY(throwsWriteFailed("new bytes", link));
        QCOMPARE(readAll(victim), QByteArray("somebody else's file"));

        const QString dangling = path("dangling.db");
        QVERIFY(QFile::link(path("nowhere.txt"), dangling));
        QVERIFY(throwsWriteFailed("new bytes", dangling));
        QVERIFY(!QFile::exists(path("nowhere.txt")));
    }

    void directoryInTheWayFailsAndDoesNotExist()
    {
        const QString target = path("folder.db");
        QVERIFY(QDir().mkpath(target));
        QVERIFY(throwsWriteFailed("new bytes", target));
        QVERIFY(!WorkingCopy::exists(native(target)));
    }

    void missingFolderFails()
    {
        QVERIFY(throwsWriteFailed("new bytes", path("no-such-folder/Vargorin.db")));
    }

    void copyInUseIsNotTouchedBySecondWriter()
    {
        const QString target = path("inuse.db");
        WorkingCopy first = WorkingCopy::write("first reader's copy", native(target));
        QVERIFY(throwsWriteFailed("second", target));
        QCOMPARE(readAll(target), QByteArray("first reader's copy"));

        first.release();
        WorkingCopy second = WorkingCopy::write("second", native(target));
        QCOMPARE(readAll(target), QByteArray("second"));
    }

    // Another program with the database open in a transaction holds the
    // engine's lock bytes; truncating under it would corrupt what it reads.
    void copyOpenInAnotherProgramIsNotTouched_data()
    {
        QTest::addColumn<QByteArray>("transaction");
        QTest::newRow("read transaction") << QByteArray("BEGIN");
        QTest::newRow("write transaction") << QByteArray("BEGIN IMMEDIATE");
    }

    void copyOpenInAnotherProgramIsNotTouched()
    {
        QFETCH(QByteArray, transaction);
        const QString target = path("shared.db");
        QFile::remove(target);
        QVERIFY(QFile::copy(QStringLiteral(VARGORIN_CARRIED_DB), target));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
        const QByteArray older = readAll(target);
        {
            SqliteShell shell(target, transaction);
            QVERIFY(shell.isHolding());
            QVERIFY(throwsWriteFailed("new bytes", target));
            QCOMPARE(readAll(target), older);
        }
        WorkingCopy::write("new bytes", native(target));
        QCOMPARE(readAll(target), QByteArray("new bytes"));
    }

    void shortWriteFailsAndLeavesThePartialFile()
    {
        const QString target = path("full.db");
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
        rlimit limited = previous;
        limited.rlim_cur = 4096;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limited) == 0);
        const bool failed = throwsWriteFailed(QByteArray(10000, 'p'), target);
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(failed);
        QCOMPARE(QFileInfo(target).size(), 4096);
    }

    void existenceTest_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("regular file") << "file.db" << true;
        QTest::newRow("link to a file") << "good-link.db" << true;
        QTest::newRow("dangling link") << "bad-link.db" << false;
        QTest::newRow("directory") << "dir.db" << false;
        QTest::newRow("missing") << "missing.db" << false;
        QTest::newRow("invalid name") << QString() << false;
    }

    void existenceTest()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        writeFile(path("file.db"), "x");
        QFile::link(path("file.db"), path("good-link.db"));
        QFile::link(path("gone.db"), path("bad-link.db"));
        QDir().mkpath(path("dir.db"));
        QCOMPARE(WorkingCopy::exists(name.isEmpty() ? QByteArray() : native(m_dir.filePath(name))), exists);
    }

    void removeDeletesTheFileItWrote()
    {
        const QString target = path("remove.db");
        const WorkingCopy copy = WorkingCopy::write("x", native(target));
        copy.remove(native(target));
        QVERIFY(!QFile::exists(target));
        copy.remove(native(target)); // already gone: nothing happens
    }

    // Only the very file the reader wrote is deleted: whatever someone put at
    // its path (moved in, or the path made a link or a folder) stays.
    void removeLeavesWhatSomebodyPutInItsPlace_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::newRow("file moved in") << "file";
        QTest::newRow("link to the written file") << "link";
        QTest::newRow("directory") << "directory";
        QTest::newRow("nothing written") << "unwritten";
    }

    void removeLeavesWhatSomebodyPutInItsPlace()
    {
        QFETCH(QString, replacement);
        const QString target = path("replaced.db");
        const QString aside = path("aside.db");
        QFile::remove(target);
        QFile::remove(aside);
        QDir(target).removeRecursively();
        WorkingCopy copy;
        if (replacement != "unwritten")
            copy = WorkingCopy::write("the reader's copy", native(target));
        if (replacement == "file" || replacement == "unwritten") {
            QFile::remove(target);
            writeFile(aside, "somebody's file");
            QVERIFY(QFile::rename(aside, target));
        } else if (replacement == "link") {
            QVERIFY(QFile::rename(target, aside));
            QVERIFY(QFile::link(aside, target));
        } else {
            QFile::remove(target);
            QVERIFY(QDir().mkpath(target));
        }

        copy.remove(native(target));
        QVERIFY(QFileInfo::exists(target) || QFileInfo(target).isSymLink());
        if (replacement != "link" && replacement != "directory")
            QCOMPARE(readAll(target), QByteArray("somebody's file"));
    }
};

QTEST_GUILESS_MAIN(WorkingCopyTest)
#include "tst_workingcopy.moc"
