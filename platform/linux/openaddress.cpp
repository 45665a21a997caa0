#include "platform/openaddress.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

// The desktop's opener (xdg-open, or the portal) picks the program.
bool openAddress(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

} // namespace platform
