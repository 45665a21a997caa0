#include "screencursor.h"

#include <QGuiApplication>
#include <QPixmap>

namespace ui {

QCursor ScreenCursor::sqlWaitCursor()
{
    const QPixmap picture(QStringLiteral(":/art/sqlwait-32.png"));
    if (picture.isNull())
        return QCursor(Qt::WaitCursor);
    // The hot spot is the neck of the hourglass.
    return QCursor(picture, 16, 10);
}

void ScreenCursor::setSqlWait()
{
    if (m_overriding)
        return;
    QGuiApplication::setOverrideCursor(sqlWaitCursor());
    m_overriding = true;
}

void ScreenCursor::setDefault()
{
    if (!m_overriding)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_overriding = false;
}

} // namespace ui
