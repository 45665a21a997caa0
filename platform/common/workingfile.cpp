#include "platform/workingfile.h"

#include <utility>

namespace platform {

// Owning the hold moves with the object; each system releases it its own way.
WorkingFile::WorkingFile(WorkingFile &&other) noexcept : m_handle(std::exchange(other.m_handle, none)) {}

WorkingFile &WorkingFile::operator=(WorkingFile &&other) noexcept
{
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, none);
    }
    return *this;
}

bool WorkingFile::isHeld() const
{
    return m_handle != none;
}

} // namespace platform
