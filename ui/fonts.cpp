#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {

void registerLayoutFonts()
{
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        return;
    for (const char *face : {"tahoma.ttf", "tahomabd.ttf"})
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/") + QLatin1String(face));
}

} // namespace ui
