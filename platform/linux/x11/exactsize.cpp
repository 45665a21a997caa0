#include "exactsize.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace platform::x11 {

namespace {

// Qt tells an X11 window manager that a window grows in steps of one pixel
// at 96 dpi, scaled and rounded like any size: 2 screen pixels at a density
// of 1.5, counted from a base size of 0. A window manager that holds windows
// to their steps (openbox does) takes a pixel off an odd fixed size: 702 x 1.5
// asks for 1053 and is shown 1052 wide. With the window's own size as the
// base, the size it asks for is a whole number of steps from it.
//
// The base is set just before the window is mapped, when the window system's
// window is shown: a message box only fixes its size in its own show handler.
class SizeBase final : public QObject {
public:
    explicit SizeBase(QWidget &window) : QObject(&window), m_window(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (watched == &m_window) {
                if (QWindow *handle = m_window.windowHandle())
                    handle->installEventFilter(this);
            } else if (m_window.minimumSize() == m_window.maximumSize()) {
                m_window.setBaseSize(m_window.minimumSize());
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget &m_window;
};

} // namespace

void keepExactSize(QWidget &window)
{
    new SizeBase(window);
}

} // namespace platform::x11
