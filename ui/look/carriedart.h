#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace ui {

// The program's pictures, decoded when it was built (resources/rawimage.cpp)
// and read in place: ":/art/NAME.argb" for the picture art/NAME.png. A missing
// picture is a null image.
QImage carriedImage(const QString &name);

// A button picture: NAME-normal and NAME-disabled for the two modes, with
// their @2x versions on a dense display, as QIcon::addFile would pick them.
QIcon carriedButtonIcon(const QString &name);

// The bee in the six sizes the desktop picks from, kept in the form the
// window manager takes, so that handing it over converts nothing.
QIcon carriedProgramIcon();

} // namespace ui
