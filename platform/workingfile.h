#pragma once

#include <QByteArray>

#include <cstdint>
#include <stdexcept>

namespace platform {

// The current folder, as the bytes of its name that the file functions
// below take: the system's own bytes on Linux, where a name that is not
// valid UTF-8 must reach the file system unchanged (decoding it to text
// would turn each bad byte into U+FFFD, the name of another folder); UTF-8
// on Windows, whose wide names it encodes without loss. Empty when the
// folder has no name any more (it was deleted).
QByteArray currentFolder();

// A file the program writes once and holds for the whole run, named by the
// bytes of its path: created or replaced whole, with no sharing, so that a
// second copy of the program started in the same folder can neither replace
// nor truncate it while it is in use. The hold must outlive the database
// connection that reads the file (see the implementations for why).
class WorkingFile final {
public:
    class WriteFailed final : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    WorkingFile() = default;
    ~WorkingFile() { release(); }
    WorkingFile(WorkingFile &&other) noexcept;
    WorkingFile &operator=(WorkingFile &&other) noexcept;
    WorkingFile(const WorkingFile &) = delete;
    WorkingFile &operator=(const WorkingFile &) = delete;

    // Creates or replaces the file at path with the bytes, in one write.
    // Refuses a symbolic link, a directory, a read-only file (also for an
    // administrator), a file held by another copy of the program and a file
    // that some other program has open through the database engine; a short
    // write (a full disk) is a failure and leaves the partly written file
    // behind. Throws WriteFailed.
    static WorkingFile write(const QByteArray &bytes, const QByteArray &path);

    // True for a path naming a regular file (through a symbolic link only when
    // its target exists); false for a missing path, a directory or anything else.
    static bool exists(const QByteArray &path);

    // Deletes the file at path if it is the very file this object wrote; a
    // file that somebody put in its place stays. A failure is deliberately
    // ignored.
    void remove(const QByteArray &path) const;

    bool isHeld() const;
    void release();

private:
    using Handle = std::intptr_t; // a descriptor, or a Windows file handle
    static constexpr Handle none = -1; // also INVALID_HANDLE_VALUE
    explicit WorkingFile(Handle handle) : m_handle(handle) {}
    Handle m_handle = none;
};

} // namespace platform
