#include "unmaximisable.h"

#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform::wayland {

namespace {

// Qt's own Wayland title bar asks for the maximised state straight from its
// button, past the widget and any filter. A compositor that checks its
// configures (weston, as GNOME's) ends the connection when the picture after
// a maximised configure is not of the configured size, which a fixed size
// forbids. Nor can the request be taken back before the answer: Qt forwards
// a request for the normal state only once the maximised one is applied, and
// the compositor drops it until a picture in the maximised state has been
// committed.
// So the window takes the maximised configure at the compositor's size and
// gives it back at once:
//   1. the request (QWindow::windowStateChanged comes synchronously inside
//      it, before any answer) lifts the fixed size;
//   2. once the maximised state is applied, the window is resized to the
//      configured size and exposed; the exposure paints and commits the
//      picture, and right after it the normal state is asked for;
//   3. once the normal state is back, at the window's old size, the fixed
//      size holds again.
class MaximiseRefusal final : public QObject {
public:
    explicit MaximiseRefusal(QWidget &window) : QObject(&window), m_window(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The platform window exists from the first show on.
        if (watched == &m_window && event->type() == QEvent::Show)
            watch(m_window.windowHandle());
        // Only the platform reports a state to the QWindow with an event;
        // requests change it silently. The report is seen here before the
        // widget takes it over, so a maximised state never reaches the widget.
        else if (watched == m_handle && event->type() == QEvent::WindowStateChange)
            stateReported(m_handle->windowStates());
        else if (watched == m_handle && event->type() == QEvent::Expose && m_step == Step::painting) {
            m_step = Step::restoring;
            QMetaObject::invokeMethod(this, &MaximiseRefusal::askForNormal, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    enum class Step { none, maximising, painting, restoring };

    void watch(QWindow *handle)
    {
        if (!handle || handle == m_handle)
            return;
        m_handle = handle;
        handle->installEventFilter(this);
        connect(handle, &QWindow::windowStateChanged, this, &MaximiseRefusal::stateRequested);
    }

    void stateRequested(Qt::WindowState state)
    {
        if (m_step != Step::none || state != Qt::WindowMaximized)
            return;
        m_step = Step::maximising;
        m_minimum = m_window.minimumSize();
        m_maximum = m_window.maximumSize();
        if (QLayout *layout = m_window.layout()) {
            m_constraint = layout->sizeConstraint();
            layout->setSizeConstraint(QLayout::SetNoConstraint);
        }
        m_window.setMinimumSize(0, 0);
        m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    void stateReported(Qt::WindowStates states)
    {
        const bool maximised = states.testFlag(Qt::WindowMaximized);
        if (m_step == Step::maximising && maximised) {
            m_step = Step::painting;
        } else if (m_step == Step::restoring && !maximised) {
            m_step = Step::none;
            m_window.setMinimumSize(m_minimum);
            m_window.setMaximumSize(m_maximum);
            if (QLayout *layout = m_window.layout())
                layout->setSizeConstraint(m_constraint);
        }
    }

    void askForNormal()
    {
        if (m_handle)
            m_handle->setWindowStates(m_handle->windowStates() & ~Qt::WindowMaximized);
    }

    QWidget &m_window;
    QPointer<QWindow> m_handle;
    Step m_step = Step::none;
    QSize m_minimum;
    QSize m_maximum;
    QLayout::SizeConstraint m_constraint = QLayout::SetDefaultConstraint;
};

} // namespace

void keepUnmaximised(QWidget &window)
{
    new MaximiseRefusal(window);
}

} // namespace platform::wayland
