// The working copy on disk: written from the carried bytes, refused where
// writing would lose or corrupt something, tested for and deleted.
#include "workingcopy.h"

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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool throwsWriteFailed(const QByteArray &bytes, const QString &path)
{
    try {
        WorkingCopy::write(bytes, path);
    } catch (const WorkingCopy::WriteFailed &) {
        return true;
    }
    return false;
}

} // namespace

class WorkingCopyTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

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
                                 CarriedDatabase::load(QStringLiteral(":/Resource_2")));
    }

    void writesTheBytesAndReplacesAnOlderLongerCopy()
    {
        const QString target = path("Vargorin.db");
        writeFile(target, QByteArray(500000, 'x'));
        const QByteArray bytes = CarriedDatabase::load().bytes();
        {
            const WorkingCopy copy = WorkingCopy::write(bytes, target);
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
        QVERIFY(!WorkingCopy::exists(target));
    }

    void missingFolderFails()
    {
        QVERIFY(throwsWriteFailed("new bytes", path("no-such-folder/Vargorin.db")));
    }

    void copyInUseIsNotTouchedBySecondWriter()
    {
        const QString target = path("inuse.db");
        WorkingCopy first = WorkingCopy::write("first reader's copy", target);
        QVERIFY(throwsWriteFailed("second", target));
        QCOMPARE(readAll(target), QByteArray("first reader's copy"));

        first.release();
        WorkingCopy second = WorkingCopy::write("second", target);
        QCOMPARE(readAll(target), QByteArray("second"));
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
        QCOMPARE(WorkingCopy::exists(name.isEmpty() ? QString() : m_dir.filePath(name)), exists);
    }

    void removeDeletesAFileAndIgnoresTheRest()
    {
        const QString target = path("remove.db");
        writeFile(target, "x");
        WorkingCopy::remove(target);
        QVERIFY(!QFile::exists(target));
        WorkingCopy::remove(target); // already gone: nothing happens
        QDir().mkpath(path("keep.db"));
        WorkingCopy::remove(path("keep.db"));
        QVERIFY(QFileInfo(path("keep.db")).isDir());
    }
};

QTEST_GUILESS_MAIN(WorkingCopyTest)
#include "tst_workingcopy.moc"
