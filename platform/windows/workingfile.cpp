#include "platform/workingfile.h"

#include "widename.h"

#include <QString>

#include <algorithm>
#include <utility>
#include <windows.h>

namespace platform {

namespace {

HANDLE handleOf(std::intptr_t bits)
{
    return reinterpret_cast<HANDLE>(bits);
}

[[noreturn]] void fail(const QByteArray &path, const char *what, DWORD error)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString reason = text ? QString::fromWCharArray(text).trimmed() : QString::number(error);
    LocalFree(text);
    throw WorkingFile::WriteFailed(path.toStdString() + ": " + what + ": " + reason.toStdString());
}

class OwnedHandle final {
public:
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    OwnedHandle(const OwnedHandle &) = delete;
    OwnedHandle &operator=(const OwnedHandle &) = delete;
    HANDLE get() const { return m_handle; }
    bool isValid() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Opens the file to hold or to compare, letting everyone else read, write
// and delete it: the engine opens it for reading and writing.
HANDLE openShared(const std::wstring &path, DWORD access)
{
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool sameFile(HANDLE one, HANDLE other)
{
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return GetFileInformationByHandle(one, &a) && GetFileInformationByHandle(other, &b)
        && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
        && a.nFileIndexLow == b.nFileIndexLow;
}

} // namespace

QByteArray currentFolder()
{
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0)
        return QByteArray();
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    if (written == 0 || written >= length)
        return QByteArray();
    folder.resize(written);
    // Only a drive's root ends in a separator ("C:\\"); the file's name is
    // joined to the folder with one of its own.
    if (folder.back() == L'\\')
        folder.pop_back();
    return QString::fromStdWString(folder).toUtf8();
}

void WorkingFile::release()
{
    if (m_handle != none)
        CloseHandle(handleOf(std::exchange(m_handle, none)));
}

// Created always and shared with no one while it is written: Windows itself
// refuses a read-only file, a folder, and a file that anyone has open, a
// second reader's engine included, with a sharing violation before anything
// is truncated. Afterwards the file is held open, shared for reading, writing
// and deleting, for the whole run: a second reader's unshared create fails
// on it even before this reader's engine has opened it.
WorkingFile WorkingFile::write(const QByteArray &bytes, const QByteArray &path)
{
    const std::wstring name = wideName(path);
    // Windows refuses to replace a read-only file by itself, but not every
    // Windows does so for an administrator (Wine run as root does not).
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        fail(path, "the file is read-only", ERROR_ACCESS_DENIED);
    {
        OwnedHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.isValid())
            fail(path, "cannot create the file", GetLastError());
        const char *data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 30));
            DWORD written = 0;
            if (!WriteFile(file.get(), data, chunk, &written, nullptr))
                fail(path, "cannot write the file", GetLastError());
            if (written == 0)
                fail(path, "cannot write the file", ERROR_DISK_FULL);
            data += written;
            left -= written;
        }
    }
    const HANDLE held = openShared(name, GENERIC_READ);
    if (held == INVALID_HANDLE_VALUE)
        fail(path, "cannot hold the file", GetLastError());
    return WorkingFile(reinterpret_cast<std::intptr_t>(held));
}

bool WorkingFile::exists(const QByteArray &path)
{
    const DWORD attributes = GetFileAttributesW(wideName(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file goes once the last handle to it is closed: the caller releases
// this one right after.
void WorkingFile::remove(const QByteArray &path) const
{
    if (m_handle == none)
        return;
    const std::wstring name = wideName(path);
    const OwnedHandle named(openShared(name, 0));
    if (named.isValid() && sameFile(handleOf(m_handle), named.get()))
        DeleteFileW(name.c_str());
}

} // namespace platform
