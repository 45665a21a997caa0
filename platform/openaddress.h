#pragma once

#include <QString>

namespace platform {

// Hands an address (mailto:, http:, ...) to the desktop, which opens it in
// the program the user has chosen for it, exactly as given. False when the
// desktop could not take it.
bool openAddress(const QString &address);

} // namespace platform
