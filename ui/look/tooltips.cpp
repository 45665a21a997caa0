#include "look/tooltips.h"

#include "look/hintdisplay.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QToolTip>
#include <QWidget>

namespace ui {

namespace {

// The label Qt shows as the tooltip, while it is shown.
QWidget *shownTooltip()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("qtooltip_label") && window->isVisible())
            return window;
    }
    return nullptr;
}

// Qt hides its tooltip 300 ms after it is asked to; ours goes in the same
// frame as its reason (a key, a button, the pointer leaving, its time up).
// The label Qt shows is taken down directly, and Qt makes a new one for the
// next tooltip.
void hideTooltipNow()
{
    if (QWidget *tooltip = shownTooltip())
        tooltip->hide();
}

} // namespace

bool showsTooltips(const QWidget *control)
{
    for (const QWidget *widget = control; widget; widget = widget->parentWidget()) {
        const QVariant own = widget->property("showHint");
        if (own.isValid() && !widget->property("parentShowHint").toBool())
            return own.toBool();
        if (widget->isWindow())
            return false;
    }
    return false;
}

TooltipController::TooltipController(HintDisplay &hints, QObject *parent) : QObject(parent)
{
    // Both times are promises to the user: Qt's default coarse timers may
    // fire up to 5 % late, 125 ms on the display time.
    for (QTimer *timer : {&m_wakeUp, &m_expiry}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    m_wakeUp.setInterval(wakeUpDelayMs);
    m_expiry.setInterval(displayTimeMs);
    connect(&m_wakeUp, &QTimer::timeout, this, &TooltipController::show);
    connect(&m_expiry, &QTimer::timeout, this, &TooltipController::hide);
    connect(&hints, &HintDisplay::hoveredChanged, this, &TooltipController::hover);
    qApp->installEventFilter(this);
}

bool TooltipController::isShowing() const
{
    return QToolTip::isVisible() && !m_shownText.isEmpty();
}

void TooltipController::hover(QWidget *control)
{
    hide();
    m_wakeUp.stop();
    m_control = control;
    const bool wantsTooltip = control && showsTooltips(control)
        && !shortPart(hintOf(control)).isEmpty();
    if (!wantsTooltip) {
        forgetInstantMode();
        return;
    }
    if (m_instant)
        show();
    else
        m_wakeUp.start();
}

void TooltipController::show()
{
    if (!m_control || m_shownFor == m_control || !QApplication::activeWindow())
        return;
    m_shownFor = m_control;
    m_shownText = shortPart(hintOf(m_control));
    m_instant = true;
    // Our precise expiry hides it: Qt's own is a coarse timer, which may take
    // the tooltip down up to 5 % early, so it is given time to spare.
    QToolTip::showText(QCursor::pos() + QPoint(0, 20), m_shownText, m_control, QRect(),
                       2 * displayTimeMs);
    // Qt's Wayland plugin gives the pointer the cursor of each window it
    // creates, wherever the pointer is: the tooltip's new window would turn
    // the link's hand into an arrow under the pointer. The tooltip wears
    // the cursor of its control, which also stays when the pointer moves
    // onto it.
    if (QWidget *tooltip = shownTooltip())
        tooltip->setCursor(m_control->cursor());
    m_expiry.start();
}

void TooltipController::hide()
{
    m_expiry.stop();
    if (!m_shownText.isEmpty())
        hideTooltipNow();
    m_shownText.clear();
}

void TooltipController::forgetInstantMode()
{
    m_instant = false;
    m_shownFor = nullptr;
}

bool TooltipController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_wakeUp.stop();
        hide();
        m_instant = false;
        break;
    case QEvent::Wheel:
        hide();
        break;
    case QEvent::ToolTip:
        return true; // Qt's own tooltips never show: these are ours
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
