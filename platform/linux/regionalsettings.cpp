#include "platform/regionalsettings.h"

namespace platform {

// Qt reads the user's locale from the environment (LC_TIME, LANG ...).
RegionalSettings RegionalSettings::ofUser()
{
    const QLocale user;
    return from(user.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : user);
}

// A Linux desktop changes a running program's locale by no message of its
// own: QEvent::LocaleChange comes from Qt when the program's default locale
// is set, and from nowhere else.
void announceRegionalSettingsChanges() {}

} // namespace platform
