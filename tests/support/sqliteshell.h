#pragma once

#include <QProcess>
#include <QTest>

// Another program with a database open: the sqlite3 command-line shell, in a
// transaction that it keeps open until the object goes. Its locks are the
// engine's own, taken by a second process as any other program would.
class SqliteShell final {
public:
    // transaction: "BEGIN" (a read transaction once the query has run) or
    // "BEGIN IMMEDIATE" (a write transaction).
    SqliteShell(const QString &database, const QByteArray &transaction)
    {
        m_shell.start(QStringLiteral("sqlite3"), {database});
        if (!m_shell.waitForStarted(5000))
            return;
        m_shell.write(transaction + ";\nSELECT count(*) FROM sqlite_master;\n");
        // The count is printed once the query has run, with its locks taken.
        m_ready = m_shell.waitForReadyRead(5000);
    }
    ~SqliteShell()
    {
        m_shell.closeWriteChannel();
        if (!m_shell.waitForFinished(5000))
            m_shell.kill();
        m_shell.waitForFinished(1000);
    }
    SqliteShell(const SqliteShell &) = delete;
    SqliteShell &operator=(const SqliteShell &) = delete;

    bool isHolding() const { return m_ready && m_shell.state() == QProcess::Running; }

private:
    QProcess m_shell;
    bool m_ready = false;
};
