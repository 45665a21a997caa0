#pragma once

#include "messageboxes.h"

#include <QString>

#include <exception>

namespace shell {

// Every event handler runs its body through this: a failure abandons the
// handler at the point where it happened, is shown in the general error box
// and the program carries on. Qt does not let exceptions cross its event
// dispatch, so each handler is the boundary. Returns false after a failure.
template <typename Body>
bool guarded(Body &&body)
{
    try {
        body();
        return true;
    } catch (const std::exception &failure) {
        showGeneralError(QString::fromUtf8(failure.what()));
    } catch (...) {
        showGeneralError(QStringLiteral("Ismeretlen hiba"));
    }
    return false;
}

} // namespace shell
