#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace resources {

// The database that travels inside the executable, as the Qt resource
// ":/Resource_1" (stored uncompressed, so its bytes are read in place).
class CarriedDatabase final {
public:
    class Missing final : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Throws Missing when the program does not carry the resource.
    static CarriedDatabase load(const QString &resourcePath = QStringLiteral(":/Resource_1"));

    const QByteArray &bytes() const { return m_bytes; }

private:
    explicit CarriedDatabase(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray m_bytes;
};

// The current folder, as the bytes the system gives for its name: a name that
// is not valid UTF-8 must reach the file system unchanged, and decoding it
// to text would turn each bad byte into U+FFFD, the name of another folder.
// Empty when the folder has no name any more (it was deleted).
QByteArray currentFolder();

// The working copy on disk, named by the bytes of its path. Writing it takes
// an exclusive lock on the file before anything is truncated and keeps it
// for as long as this object lives, so a second reader started in the same
// folder can neither replace nor truncate a copy that is in use. The lock
// must outlive the database connection: closing any descriptor of a file
// drops this process's POSIX record locks on it, the engine's own included,
// so the descriptor held here is only closed after the connection has let go
// of the file.
class WorkingCopy final {
public:
    class WriteFailed final : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    WorkingCopy() = default;
    ~WorkingCopy() { release(); }
    WorkingCopy(WorkingCopy &&other) noexcept;
    WorkingCopy &operator=(WorkingCopy &&other) noexcept;
    WorkingCopy(const WorkingCopy &) = delete;
    WorkingCopy &operator=(const WorkingCopy &) = delete;

    // Creates or replaces the file at path with the bytes, in one write.
    // Refuses a symbolic link, a directory, a file without write permission
    // (also for root), a file locked by another reader and a file that some
    // other program has open through the database engine; a short write is a
    // failure and leaves the partly written file behind. Throws WriteFailed.
    static WorkingCopy write(const QByteArray &bytes, const QByteArray &path);

    // True for a path naming a regular file (through a symbolic link only when
    // its target exists); false for a missing path, a directory or anything else.
    static bool exists(const QByteArray &path);

    // Deletes the file at path if it is the very file this copy wrote (the
    // same device and inode); a file that somebody put in its place stays.
    // A failure is deliberately ignored.
    void remove(const QByteArray &path) const;

    bool isHeld() const { return m_fd >= 0; }
    void release();

private:
    explicit WorkingCopy(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace resources
