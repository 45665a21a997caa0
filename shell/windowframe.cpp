#include "windowframe.h"

#include "drawntitlebar.h"
#include "exactsize.h"
#include "serverdecorations.h"
#include "unmaximisable.h"

#include <QGuiApplication>

namespace shell {

void frameFixedWindow(QWidget &window)
{
    keepExactSize(window);
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    // Qt asks such a compositor for its title bars, and draws its own, with
    // every button, only where the compositor answers that it will not.
    if (compositorDrawsTitleBars())
        keepUnmaximised(window);
    else
        drawOwnTitleBar(window);
}

} // namespace shell
