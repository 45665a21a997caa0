#include "look/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {

void registerLayoutFonts()
{
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        return;
    // Only the regular face: Wine's bold face draws regular-weight strokes on
    // wider advances, so bold text would not look bold. Qt emboldens the
    // regular face instead, which keeps the layout's bold labels bold.
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

QFont layoutFont()
{
    return QFont(QStringLiteral("Tahoma"), 8);
}

} // namespace ui
