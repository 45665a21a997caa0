#pragma once

#include "accessible/installer.h"

#include <QAccessible>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

// Turns accessibility on as a screen reader's arrival does, with our factory
// installed: only then does Qt hand the widgets' accessibility events to
// their interfaces. The offscreen platform has no bridge to pass them on to,
// so nothing leaves the process. False where the platform has no
// accessibility at all.
inline bool switchAccessibilityOn()
{
    ui::installAccessibility();
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    if (!platform)
        return false;
    platform->setActive(true);
    return QAccessible::isActive();
}
