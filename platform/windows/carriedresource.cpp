#include "platform/carriedresource.h"

#include <windows.h>

namespace platform {

// A raw-data resource (RCDATA) of the executable itself. Its bytes stay
// mapped while the module is loaded, which is the whole run, so they are
// taken in place.
std::optional<QByteArray> carriedResource(const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    const std::wstring wide = name.toStdWString();
    HRSRC found = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return QByteArray::fromRawData(static_cast<const char *>(bytes), qsizetype(size));
}

} // namespace platform
