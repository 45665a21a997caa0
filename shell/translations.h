#pragma once

class QCoreApplication;

namespace shell {

// Loads Qt's own translations for the system locale, so that the standard
// buttons of message boxes (Yes, No) read in the user's language.
void installQtTranslations(QCoreApplication &application);

} // namespace shell
