#include "look/screencursor.h"

#include "look/carriedart.h"

#include <QGuiApplication>
#include <QPixmap>

namespace ui {

QCursor ScreenCursor::sqlWaitCursor()
{
    const QPixmap picture = QPixmap::fromImage(carriedImage(QStringLiteral("sqlwait-32")));
    if (picture.isNull())
        return QCursor(Qt::WaitCursor);
    // The hot spot is the neck of the hourglass.
    return QCursor(picture, 16, 10);
}

void ScreenCursor::setSqlWait()
{
    if (m_overriding)
        return;
    if (!m_sqlWait)
        m_sqlWait = sqlWaitCursor();
    QGuiApplication::setOverrideCursor(*m_sqlWait);
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
