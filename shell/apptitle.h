#pragma once

#include <QString>

namespace shell {

// The caption of the fatal start-up message and of the general error box:
// the executable's file name cut at its first period, every character after
// the first in lower case ("MyReader.exe" gives "Myreader").
QString applicationTitleFor(const QString &executablePath);

// The title of this process, derived once from its own executable.
const QString &applicationTitle();

} // namespace shell
