#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace platform {

// The platform layer names files by UTF-8 bytes; Windows' wide functions
// take UTF-16, so every letter of every code page arrives unchanged.
inline std::wstring wideName(const QByteArray &utf8)
{
    return QString::fromUtf8(utf8).toStdWString();
}

} // namespace platform
