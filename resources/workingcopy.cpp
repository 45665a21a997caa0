#include "workingcopy.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace resources {

namespace {

[[noreturn]] void fail(const QString &path, const char *what, int error)
{
    throw WorkingCopy::WriteFailed(QStringLiteral("%1: %2: %3")
                                       .arg(path, QLatin1String(what),
                                            QString::fromLocal8Bit(std::strerror(error)))
                                       .toStdString());
}

// Open-file-description locks belong to this descriptor alone: they conflict
// with every other opener, including a second copy of the reader inside this
// very process, and they leave the engine's own process-wide locks alone. The
// engine locks bytes at the 1 GiB mark; byte 0 is never touched by it.
bool lockExclusively(int fd)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
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

CarriedDatabase CarriedDatabase::load(const QString &resourcePath)
{
    const QResource resource(resourcePath);
    if (!resource.isValid() || QFileInfo(resourcePath).isDir())
        throw Missing("the carried database " + resourcePath.toStdString() + " is missing");
    return CarriedDatabase(resource.uncompressedData());
}

WorkingCopy::WorkingCopy(WorkingCopy &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

WorkingCopy &WorkingCopy::operator=(WorkingCopy &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void WorkingCopy::release()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

WorkingCopy WorkingCopy::write(const QByteArray &bytes, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    // No O_TRUNC here: nothing may be cut short before the lock is ours.
    Descriptor file(::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.get() < 0)
        fail(path, "cannot create the file", errno);

    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        fail(path, "cannot examine the file", errno);
    if (!S_ISREG(status.st_mode))
        fail(path, "not a regular file", EINVAL);
    if (hasNoWritePermission(status))
        fail(path, "the file is read-only", EACCES);
    if (!lockExclusively(file.get()))
        fail(path, "the file is in use by another reader", errno);

    if (::ftruncate(file.get(), 0) != 0)
        fail(path, "cannot truncate the file", errno);
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
    return WorkingCopy(file.take());
}

bool WorkingCopy::exists(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

void WorkingCopy::remove(const QString &path)
{
    if (exists(path))
        (void)::unlink(QFile::encodeName(path).constData());
}

} // namespace resources
