#include "placement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace shell {

namespace {

QSize outerSize(const QWidget &window)
{
    return window.frameGeometry().size().expandedTo(window.size());
}

// While the window manager is still framing the window, X11 can report a
// frame that does not fit around the client at all: only a frame with a
// title bar above the client, the same border left and right, and no more
// around it than its sides add up to is taken as known.
bool frameKnown(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const int left = client.left() - frame.left(), right = frame.right() - client.right();
    const int top = client.top() - frame.top(), bottom = frame.bottom() - client.bottom();
    return top > 0 && left >= 0 && left == right && bottom >= 0
        && frame.size() == client.size() + QSize(left + right, top + bottom);
}

// A window is placed before it is mapped, when the window manager has not yet
// said how big a frame it adds (X11's _NET_FRAME_EXTENTS), so it is first
// centred by its client size. The frame is centred as soon as it is known:
// mostly at the window's first exposure, at times only when the window
// manager activates the window or moves it into its frame. Without a window
// manager the client is the frame, and nothing changes; once the window is
// hidden again, its place is the user's.
class FrameCentring final : public QObject {
public:
    FrameCentring(QWidget &window, QWindow &handle, const QRect &area)
        : QObject(&window), m_window(window), m_handle(handle), m_area(area)
    {
        window.installEventFilter(this);
        handle.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Expose:
        case QEvent::WindowActivate:
        case QEvent::Move:
            if (frameKnown(m_window)) {
                m_window.move(centredIn(m_area, outerSize(m_window)));
                stop();
            }
            break;
        case QEvent::Hide:
            stop();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void stop()
    {
        m_window.removeEventFilter(this);
        m_handle.removeEventFilter(this);
        deleteLater();
    }

    QWidget &m_window;
    QWindow &m_handle;
    QRect m_area;
};

} // namespace

QPoint centredIn(const QRect &area, const QSize &outerSize)
{
    const int left = area.left() + (area.width() - outerSize.width()) / 2;
    const int top = area.top() + (area.height() - outerSize.height()) / 2;
    return {std::max(left, area.left()), std::max(top, area.top())};
}

void centreOnScreen(QWidget &window, const QScreen *screen)
{
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(centredIn(area, outerSize(window)));
    window.winId(); // the platform window, for its first exposure
    if (QWindow *handle = window.windowHandle(); handle && !frameKnown(window) && !handle->isExposed())
        new FrameCentring(window, *handle, area);
}

} // namespace shell
