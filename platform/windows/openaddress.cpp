#include "platform/openaddress.h"

#include <windows.h>
#include <shellapi.h>

namespace platform {

// The shell's "open" verb with the address exactly as given. Qt's own
// opener uses the default verb, and for mailto: a registry command first.
bool openAddress(const QString &address)
{
    const std::wstring wide = address.toStdWString();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace platform
