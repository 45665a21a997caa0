// The working copy's file on Windows: created always and shared with no one
// while written, refused where writing would lose or corrupt something, held
// for the run, named by letters of any code page.
#include "platform/workingfile.h"
#include "workingcopy.h"
#include "workingfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <windows.h>

using platform::WorkingFile;

namespace {

// The poems in the file, as a reader's engine counts them: -1 when it
// cannot read them. The connection stays open until close() or the end.
class Engine final {
public:
    explicit Engine(const QByteArray &path) { sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr); }
    ~Engine() { close(); }
    void close()
    {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    int poems() const
    {
        sqlite3_stmt *statement = nullptr;
        int count = -1;
        if (sqlite3_prepare_v2(m_db, "SELECT count(*) FROM tbl_Data", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
        return count;
    }

private:
    sqlite3 *m_db = nullptr;
};

} // namespace

class WindowsWorkingFileTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_poems;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_poems = readAll(QStringLiteral(VARGORIN_CARRIED_DB));
        QCOMPARE(m_poems.size(), 331776);
    }

    // The module's own raw-data resource, byte for byte.
    void carriedResourceIsTheCommittedFile()
    {
        QCOMPARE(resources::CarriedDatabase::load().bytes(), m_poems);
        QVERIFY_THROWS_EXCEPTION(resources::CarriedDatabase::Missing,
                                 resources::CarriedDatabase::load(QStringLiteral("Resource_2")));
    }

    // An older, longer file is replaced whole; only the very file written is
    // deleted, and a file put in its place stays.
    void replacesWholeAndDeletesOnlyItsOwn()
    {
        const QString file = path("own.db");
        writeFile(file, QByteArray(500000, 'x'));
        {
            WorkingFile copy = WorkingFile::write(m_poems, file.toUtf8());
            QVERIFY(copy.isHeld());
            QVERIFY(WorkingFile::exists(file.toUtf8()));
            QCOMPARE(readAll(file), m_poems);
            copy.remove(file.toUtf8());
            copy.release();
        }
        QVERIFY(!QFile::exists(file));
        QVERIFY(!WorkingFile::exists(path("").toUtf8())); // a folder is no file

        WorkingFile copy = WorkingFile::write(m_poems, file.toUtf8());
        copy.release();
        QVERIFY(QFile::remove(file));
        writeFile(file, "somebody else's");
        copy = WorkingFile::write(m_poems, path("other.db").toUtf8());
        copy.remove(file.toUtf8());
        QCOMPARE(readAll(file), QByteArray("somebody else's"));
    }

    // The read-only attribute keeps a file from being replaced, and a folder
    // is never written.
    void readOnlyFileAndFolderAreRefused()
    {
        const QString file = path("readonly.db");
        writeFile(file, "keep me");
        const std::wstring wide = QDir::toNativeSeparators(file).toStdWString();
        QVERIFY(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
        QVERIFY(throwsWriteFailed(m_poems, file.toUtf8()));
        QCOMPARE(readAll(file), QByteArray("keep me"));
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);

        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.db")));
        QVERIFY(throwsWriteFailed(m_poems, path("folder.db").toUtf8()));
    }

    // A second reader in the same folder fails its write and leaves the
    // first one's copy as it was: before the first one's engine has opened
    // it, while the engine reads it, and after the first has let go of its
    // hold with the engine still open.
    void secondReaderFailsAndLeavesTheFirstsCopy()
    {
        const QByteArray file = path("shared.db").toUtf8();
        WorkingFile first = WorkingFile::write(m_poems, file);
        QVERIFY(throwsWriteFailed("second", file));
        QCOMPARE(readAll(QString::fromUtf8(file)), m_poems);

        Engine engine(file);
        QCOMPARE(engine.poems(), 13);
        QVERIFY(throwsWriteFailed("second", file));
        first.release();
        QVERIFY(throwsWriteFailed("second", file));
        QCOMPARE(engine.poems(), 13);
        QCOMPARE(readAll(QString::fromUtf8(file)), m_poems);

        engine.close();
        first = WorkingFile::write(m_poems, file); // nobody holds it any more
        QVERIFY(first.isHeld());
    }

    // A folder named with letters outside the ANSI code page ("Ő" is not in
    // Windows-1252, "ω" and "Ж" in no Western one): its name comes back
    // whole, and the copy is written, read by the engine and deleted there.
    void folderNamedOutsideTheCodePage()
    {
        const QString name = QStringLiteral("Őrség ωμέγα Жук");
        QVERIFY(QDir(m_dir.path()).mkdir(name));
        const QString folder = m_dir.filePath(name);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder));
        const QByteArray current = platform::currentFolder();
        QDir::setCurrent(previous);
        QCOMPARE(QString::fromUtf8(current), QDir::toNativeSeparators(folder));

        const QByteArray file = current + "/Vargorin.db";
        WorkingFile copy = WorkingFile::write(m_poems, file);
        QVERIFY(WorkingFile::exists(file));
        {
            Engine engine(file);
            QCOMPARE(engine.poems(), 13);
        }
        copy.remove(file);
        copy.release();
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Vargorin.db")));
    }

    // A write cut short by a full disk is a failure, and the part written
    // stays. Needs a small file system, named by VARGORIN_FULL_FOLDER.
    void fullDiskIsAFailure()
    {
        const QString folder = qEnvironmentVariable("VARGORIN_FULL_FOLDER");
        if (folder.isEmpty())
            QSKIP("no small file system given (VARGORIN_FULL_FOLDER)");
        const QByteArray file = (folder + QStringLiteral("/Vargorin.db")).toUtf8();
        QVERIFY(throwsWriteFailed(m_poems, file));
        const qint64 written = QFileInfo(QString::fromUtf8(file)).size();
        QVERIFY2(written < m_poems.size(), qPrintable(QString::number(written)));
        QFile::remove(QString::fromUtf8(file));
    }
};

QTEST_GUILESS_MAIN(WindowsWorkingFileTest)
#include "tst_workingfile.moc"
