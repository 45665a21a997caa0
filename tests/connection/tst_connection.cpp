// The store connection: what it sends on open, what it refuses, and the
// engine behaviour the search relies on.
#include "connection.h"
#include "recordset.h"
#include "statement.h"
#include "storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sqlite3.h>

using store::Connection;
using store::RecordSet;
using store::StoreError;

namespace {

QStringList traced;

int recordStatement(unsigned, void *, void *, void *text)
{
    traced << QString::fromUtf8(static_cast<const char *>(text));
    return 0;
}

// An extension entry point: the engine calls it as returning int, and any
// value but SQLITE_OK fails the open that loads it.
int traceEveryConnection(sqlite3 *db, const char **, const void *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, recordStatement, nullptr);
    return SQLITE_OK;
}

QString copyOfCarriedDatabase(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("Vargorin.db"));
    QFile::copy(QStringLiteral(VARGORIN_CARRIED_DB), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

long long scalar(Connection &connection, const char *sql)
{
    store::Statement statement(connection.handle(), sql);
    statement.step();
    return sqlite3_column_int64(statement.handle(), 0);
}

QString textOf(Connection &connection, const char *sql)
{
    store::Statement statement(connection.handle(), sql);
    statement.step();
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement.handle(), 0)));
}

// Whether any open file in this process names the file at path.
bool processHasOpen(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &entry : descriptors.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.symLinkTarget() == target)
            return true;
    }
    return false;
}

// Whether anybody holds a record lock on the engine's lock bytes of the file
// (the pending, reserved and shared bytes at the 1 GiB mark). The probe is
// opened once, before the engine opens the file, and closed only after it:
// closing a descriptor would drop this process's locks on the file.
bool engineLockBytesHeld(const QFile &probeFile)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0x40000000;
    probe.l_len = 512;
    return fcntl(probeFile.handle(), F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

} // namespace

class ConnectionTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceEveryConnection)); }
    void init() { traced.clear(); }

    void openSendsExactlyTheFiveSettingsInOrder()
    {
        Connection connection;
        connection.setDatabase(copyOfCarriedDatabase(m_dir));
        connection.open();
        QVERIFY(connection.isOpen());
        QCOMPARE(traced, QStringList({"PRAGMA cache_size = 500", "PRAGMA locking_mode = Exclusive",
                                      "PRAGMA synchronous = Off", "PRAGMA journal_mode = Off",
                                      "PRAGMA foreign_keys = On"}));
        // The engine reports the settings as taken.
        QCOMPARE(scalar(connection, "PRAGMA cache_size"), 500);
        QCOMPARE(textOf(connection, "PRAGMA locking_mode"), QStringLiteral("exclusive"));
        QCOMPARE(scalar(connection, "PRAGMA synchronous"), 0);
        QCOMPARE(textOf(connection, "PRAGMA journal_mode"), QStringLiteral("off"));
        QCOMPARE(scalar(connection, "PRAGMA foreign_keys"), 1);
    }

    // With extended result codes on, the engine reports an error by its
    // extended code, which here differs from the primary one.
    void errorsCarryExtendedResultCodes()
    {
        Connection connection;
        connection.setDatabase(copyOfCarriedDatabase(m_dir));
        connection.open();
        sqlite3_stmt *statement = nullptr;
        const int rc = sqlite3_prepare_v2(connection.handle(), "SELECT 'a' < 'b' COLLATE no_such_collation",
                                          -1, &statement, nullptr);
        sqlite3_finalize(statement);
        QCOMPARE(rc, SQLITE_ERROR_MISSING_COLLSEQ);
        QCOMPARE(sqlite3_errcode(connection.handle()), SQLITE_ERROR_MISSING_COLLSEQ);
    }

    // The engine reads a statement only up to its first zero byte: a term with
    // a zero in it leaves an unclosed quote, which the engine rejects.
    void zeroInsideAStatementEndsItThere()
    {
        Connection connection;
        connection.setDatabase(copyOfCarriedDatabase(m_dir));
        connection.open();
        const char text[] = "SELECT count(*) FROM tbl_Data WHERE CIM like '%a\0b%'";
        const QByteArray sql(text, sizeof text - 1);
        try {
            store::Statement statement(connection.handle(), sql);
            QFAIL("a statement cut short by a zero byte was accepted");
        } catch (const StoreError &error) {
            QVERIFY2(QByteArray(error.what()).contains("unrecognized token"), error.what());
        }
    }

    // LIKE folds the 26 ASCII letters only; accented letters match themselves.
    void likeFoldsAsciiLettersOnly_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("matches");
        QTest::newRow("ascii capitals") << "SELECT 'MADÁR' LIKE '%mad%'" << 1;
        QTest::newRow("accented capital") << "SELECT 'KÉK' LIKE 'kék'" << 0;
        QTest::newRow("accented same case") << "SELECT 'a kék ég' LIKE '%kék%'" << 1;
        QTest::newRow("o double acute") << "SELECT 'IDŐ' LIKE 'idő'" << 0;
        QTest::newRow("underscore one character") << "SELECT 'ab' LIKE 'a_'" << 1;
    }

    void likeFoldsAsciiLettersOnly()
    {
        QFETCH(QString, sql);
        QFETCH(int, matches);
        Connection connection;
        connection.setDatabase(copyOfCarriedDatabase(m_dir));
        connection.open();
        QCOMPARE(scalar(connection, sql.toUtf8().constData()), matches);
    }

    void missingFolderFailsAndStaysClosed()
    {
        Connection connection;
        connection.setDatabase(m_dir.filePath(QStringLiteral("no-such-folder/Vargorin.db")));
        QVERIFY_THROWS_EXCEPTION(StoreError, connection.open());
        QVERIFY(!connection.isOpen());
    }

    void notADatabaseFailsWithTheEnginesMessage()
    {
        const QString path = m_dir.filePath(QStringLiteral("letter.db"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        Connection connection;
        connection.setDatabase(path);
        try {
            connection.open();
            QFAIL("opening a file that is not a database succeeded");
        } catch (const StoreError &error) {
            QVERIFY2(QByteArray(error.what()).contains("not a database"), error.what());
        }
        QVERIFY(!connection.isOpen());
    }

    // A missing file in an existing folder is created empty; the base query then fails.
    void missingFileIsCreatedAndTheQueryFails()
    {
        const QString path = m_dir.filePath(QStringLiteral("fresh.db"));
        Connection connection;
        connection.setDatabase(path);
        connection.open();
        QVERIFY(QFile::exists(path));
        RecordSet query(connection);
        QVERIFY_THROWS_EXCEPTION(StoreError, query.open());
        QVERIFY(!query.isActive());
        QVERIFY(QFile::exists(path));
    }

    void recordSetOpensAClosedConnectionFirst()
    {
        Connection connection;
        connection.setDatabase(copyOfCarriedDatabase(m_dir));
        RecordSet query(connection);
        query.open();
        QVERIFY(connection.isOpen());
        QVERIFY(query.isActive());

        Connection unreachable;
        unreachable.setDatabase(QStringLiteral("/dev/null/nowhere.db"));
        RecordSet failing(unreachable);
        QVERIFY_THROWS_EXCEPTION(StoreError, failing.open());
        QVERIFY(!failing.isActive());
    }

    // Closing closes the record set first, then the engine's handle: no
    // descriptor names the file any more and its exclusive lock is gone, so
    // the file can be deleted.
    void closeReleasesRecordSetThenFile()
    {
        const QString path = copyOfCarriedDatabase(m_dir);
        QVERIFY(!processHasOpen(path));
        {
            QFile probe(path);
            QVERIFY(probe.open(QIODevice::ReadOnly));
            Connection connection;
            connection.setDatabase(path);
            RecordSet query(connection);
            query.open();
            query.last();
            QVERIFY(engineLockBytesHeld(probe));

            connection.close();
            QVERIFY(!query.isActive());
            QVERIFY(!connection.isOpen());
            QVERIFY(!engineLockBytesHeld(probe));
            probe.close();
            QVERIFY(!processHasOpen(path));
            connection.close(); // closing a closed connection does nothing
        }
        QVERIFY(QFile::remove(path));
    }
};

QTEST_GUILESS_MAIN(ConnectionTest)
#include "tst_connection.moc"
