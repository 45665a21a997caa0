#include "platform/workingfile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

[[noreturn]] void fail(const QByteArray &path, const char *what, int error)
{
    throw WorkingFile::WriteFailed(path.toStdString() + ": " + what + ": " + std::strerror(error));
}

// Open-file-description locks belong to this descriptor alone: they conflict
// with every other opener, including a second copy of the reader inside this
// very process, and they leave the engine's own process-wide locks alone.
bool setLock(int fd, short type, off_t start, off_t length)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// The reader's own mark on its working copy, held for the whole run. The
// engine never touches byte 0.
bool lockAgainstOtherReaders(int fd)
{
    return setLock(fd, F_WRLCK, 0, 1);
}

// A program that has the file open through the database engine holds record
// locks on the engine's lock bytes at the 1 GiB mark: the pending byte, the
// reserved byte and the 510 shared bytes after them (a mere read transaction
// holds the shared bytes and nothing else). Taking them all fails while any
// is held, and holding them while the file is rewritten keeps such a program
// from starting to read it half-written.
bool lockAgainstTheEngine(int fd, short type = F_WRLCK)
{
    constexpr off_t pendingByte = 0x40000000;
    constexpr off_t lockBytes = 2 + 510;
    return setLock(fd, type, pendingByte, lockBytes);
}

bool hasNoWritePermission(const struct stat &status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

class Descriptor final {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    int take() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

} // namespace

// The file is held by an exclusive lock on byte 0 for as long as this object
// lives. That lock must outlive the database connection: closing any
// descriptor of a file drops this process's POSIX record locks on it, the
// engine's own included, so the descriptor held here is only closed after
// the connection has let go of the file.
void WorkingFile::release()
{
    if (m_handle != none)
        ::close(int(std::exchange(m_handle, none)));
}

QByteArray currentFolder()
{
    // getcwd() gives the name's bytes as they are; a name longer than a first
    // guess just needs a larger buffer.
    for (qsizetype size = 4096;; size *= 2) {
        QByteArray folder(size, Qt::Uninitialized);
        if (::getcwd(folder.data(), size_t(size)))
            return QByteArray(folder.constData());
        if (errno != ERANGE)
            return QByteArray();
    }
}

WorkingFile WorkingFile::write(const QByteArray &bytes, const QByteArray &path)
{
    // A file size limit must turn into a failed write that the caller
    // reports, not into a signal that kills the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // No O_TRUNC here: nothing may be cut short before the lock is ours.
    Descriptor file(::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.get() < 0)
        fail(path, "cannot create the file", errno);

    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        fail(path, "cannot examine the file", errno);
    if (!S_ISREG(status.st_mode))
        fail(path, "not a regular file", EINVAL);
    if (hasNoWritePermission(status))
        fail(path, "the file is read-only", EACCES);
    if (!lockAgainstOtherReaders(file.get()))
        fail(path, "the file is in use by another reader", errno);
    if (!lockAgainstTheEngine(file.get()))
        fail(path, "the file is in use by another program", errno);

    // Written over the older bytes and then cut to length: a copy left by an
    // earlier run keeps its blocks and cached pages, where emptying it first
    // would have the file system free them all and allocate them again.
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file.get(), data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(path, "cannot write the file", errno);
        }
        if (written == 0)
            fail(path, "cannot write the file", ENOSPC);
        data += written;
        left -= written;
    }
    if (::ftruncate(file.get(), bytes.size()) != 0)
        fail(path, "cannot truncate the file", errno);
    // The reader's own connection takes the engine's locks next.
    lockAgainstTheEngine(file.get(), F_UNLCK);
    return WorkingFile(file.take());
}

bool WorkingFile::exists(const QByteArray &path)
{
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

void WorkingFile::remove(const QByteArray &path) const
{
    struct stat held {};
    struct stat named {};
    if (m_handle == none || ::fstat(int(m_handle), &held) != 0 || ::lstat(path.constData(), &named) != 0)
        return;
    if (held.st_dev == named.st_dev && held.st_ino == named.st_ino)
        (void)::unlink(path.constData());
}

} // namespace platform
