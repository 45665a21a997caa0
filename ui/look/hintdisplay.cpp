#include "look/hintdisplay.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSinglePointEvent>
#include <QWidget>
#include <QWindow>

namespace ui {

QString hintOf(const QObject *owner)
{
    if (const auto *action = qobject_cast<const QAction *>(owner); action && action->menu())
        owner = action->menu(); // a menu-bar item keeps its hint on its menu
    return owner ? owner->property("hint").toString() : QString();
}

QString shortPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString longPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

namespace {

// The top-level widget that an event's receiver belongs to: a widget's own
// window, or the widget a platform window shows.
QWidget *windowOf(QObject *receiver)
{
    if (receiver->isWidgetType())
        return static_cast<QWidget *>(receiver)->window();
    if (receiver->isWindowType()) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->windowHandle() == receiver)
                return window;
        }
    }
    return nullptr;
}

bool isWindow(QObject *receiver)
{
    return receiver->isWindowType() || (receiver->isWidgetType() && static_cast<QWidget *>(receiver)->isWindow());
}

} // namespace

HintDisplay::HintDisplay(QObject *parent) : QObject(parent)
{
    // Input events are only noted here; the look happens once the loop has
    // handled what was pending, as a zero-time timer.
    m_afterInput.setSingleShot(true);
    m_afterInput.setInterval(0);
    connect(&m_afterInput, &QTimer::timeout, this, &HintDisplay::refresh);
    qApp->installEventFilter(this);
}

void HintDisplay::watchMenus(QMenuBar *menuBar)
{
    connect(menuBar, &QMenuBar::hovered, this,
            [this](QAction *item) { setCurrent(longPart(hintOf(item))); });
    for (QAction *item : menuBar->actions())
        if (item->menu())
            watchMenu(item->menu());
}

void HintDisplay::watchMenu(QMenu *menu)
{
    connect(menu, &QMenu::hovered, this,
            [this](QAction *item) { setCurrent(longPart(hintOf(item))); });
    connect(menu, &QMenu::aboutToHide, this, [this] { setCurrent(QString()); });
    for (QAction *item : menu->actions())
        if (item->menu())
            watchMenu(item->menu());
}

QWidget *HintDisplay::widgetAt(const QPoint &globalPosition)
{
    QWidget *widget = QApplication::widgetAt(globalPosition);
    // A popup (a tooltip, an open menu) is not a control of ours.
    if (widget && widget->window()->windowType() == Qt::ToolTip)
        return nullptr;
    return widget;
}

void HintDisplay::refresh()
{
    // Neither an open menu nor a message box's own loop looks under the
    // pointer: the menu reports its items itself, and the exit question's
    // status text stays in the status bar while the question is asked.
    if (QApplication::activePopupWidget()
        || qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
        return;
    QWidget *control = m_pointerOutside ? nullptr : widgetAt(pointerPosition());
    if (control != m_hovered) {
        m_hovered = control;
        emit hoveredChanged(control);
    }
    QString hint;
    for (const QObject *owner = control; owner && hint.isEmpty(); owner = owner->parent())
        hint = hintOf(owner);
    setCurrent(longPart(hint));
}

QPoint HintDisplay::pointerPosition() const
{
    const QPoint cursor = QCursor::pos();
    return m_entered && m_entered->cursorThen == cursor ? m_entered->at : cursor;
}

void HintDisplay::setCurrent(const QString &text)
{
    if (text == m_current)
        return;
    m_current = text;
    emit hintChanged(text);
}

bool HintDisplay::eventFilter(QObject *watched, QEvent *event)
{
    // Wayland's cursor position follows the pointer's moves in our windows
    // but not its enter: a pointer that jumps in, or a window mapped under
    // it, is known only from the window system's own enter event.
    if (event->spontaneous() && event->isSinglePointEvent()) {
        if (event->type() == QEvent::Enter)
            m_entered = {static_cast<QSinglePointEvent *>(event)->globalPosition().toPoint(), QCursor::pos()};
        else if (event->type() == QEvent::MouseMove)
            m_entered.reset();
    }
    // A move inside the window the pointer is known to be in changes nothing:
    // every move is not worth a search for its window.
    const bool notedAlready = event->type() == QEvent::MouseMove && m_pointerIn;
    if ((event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) && !notedAlready) {
        if (QWidget *window = windowOf(watched)) {
            m_pointerIn = window;
            m_pointerOutside = false;
        }
    } else if (event->type() == QEvent::Leave && isWindow(watched)
               && (!m_pointerIn || windowOf(watched) == m_pointerIn)) {
        // Left the window it was last seen in; an enter into another window
        // of ours may come before or after this.
        m_pointerIn = nullptr;
        m_entered.reset();
        m_pointerOutside = true;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::Show:
    case QEvent::Hide:
        if (!m_afterInput.isActive())
            m_afterInput.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
