#include "framecentring.h"

#include "platform/windowframe.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

namespace platform::x11 {

namespace {

// Under X11 a window is placed before it is mapped, when the window manager
// has not yet framed it, so it is first centred by its client size. The
// window manager tells the frame it adds in the window's _NET_FRAME_EXTENTS
// property, which is read here directly: what Qt reports as the frame while
// the window manager is still framing the window can be made up of the
// unframed window's own geometry, and stays so. The window manager is asked
// for the extents as soon as the window exists (_NET_REQUEST_FRAME_EXTENTS);
// once they are known and the window is shown, the client is put where the
// frame around it is centred. Without a window manager the client is the
// frame and nothing changes; once the window is hidden again, its place is
// the user's.
class FrameCentring final : public QObject, public QAbstractNativeEventFilter {
public:
    FrameCentring(QWidget &window, QWindow &handle, const QRect &area, xcb_connection_t *connection)
        : QObject(&window), m_window(window), m_handle(handle), m_area(area), m_connection(connection),
          m_client(xcb_window_t(handle.winId())), m_extents(atom("_NET_FRAME_EXTENTS"))
    {
        window.installEventFilter(this);
        handle.installEventFilter(this);
        QCoreApplication::instance()->installNativeEventFilter(this);
        requestExtents();
    }
    ~FrameCentring() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto *change = static_cast<const xcb_property_notify_event_t *>(message);
        if (change->window == m_client && change->atom == m_extents && change->state == XCB_PROPERTY_NEW_VALUE) {
            m_frame = frameExtents();
            placeWhenReady();
        }
        return false;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose)
            placeWhenReady();
        else if (event->type() == QEvent::Hide)
            stop();
        return QObject::eventFilter(watched, event);
    }

private:
    // Until the window is shown, Qt has not yet handed the widget's size to
    // the window system's window.
    void placeWhenReady()
    {
        if (!m_frame || !m_handle.isExposed())
            return;
        const QPoint corner = centredIn(m_area, m_window.size().grownBy(*m_frame));
        // Placed by its client, the window is kept there by the window manager
        // (static gravity), whatever Qt takes the frame to be.
        m_window.setGeometry(QRect(corner + QPoint(m_frame->left(), m_frame->top()), m_window.size()));
        stop();
    }

    xcb_atom_t atom(const QByteArray &name) const
    {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(m_connection, 0, uint16_t(name.size()), name.constData());
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    }

    void requestExtents() const
    {
        const xcb_screen_t *root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        xcb_client_message_event_t request{};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = m_client;
        request.type = atom("_NET_REQUEST_FRAME_EXTENTS");
        xcb_send_event(m_connection, 0, root->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&request));
        xcb_flush(m_connection);
    }

    // Left, right, top and bottom, as the window manager wrote them.
    std::optional<QMargins> frameExtents() const
    {
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(m_connection, 0, m_client, m_extents, XCB_ATOM_CARDINAL, 0, 4);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        std::optional<QMargins> frame;
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
            const auto *sides = static_cast<const uint32_t *>(xcb_get_property_value(reply));
            frame = QMargins(int(sides[0]), int(sides[2]), int(sides[1]), int(sides[3]));
        }
        std::free(reply);
        return frame;
    }

    void stop()
    {
        m_window.removeEventFilter(this);
        m_handle.removeEventFilter(this);
        QCoreApplication::instance()->removeNativeEventFilter(this);
        deleteLater();
    }

    QWidget &m_window;
    QWindow &m_handle;
    QRect m_area;
    xcb_connection_t *m_connection;
    xcb_window_t m_client;
    xcb_atom_t m_extents;
    std::optional<QMargins> m_frame;
};

} // namespace

void centreFrameOnceKnown(QWidget &window, const QRect &area)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QWindow *handle = window.windowHandle(); x11 && x11->connection() && handle && !handle->isExposed())
        new FrameCentring(window, *handle, area, x11->connection());
}

} // namespace platform::x11
