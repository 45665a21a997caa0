#include "platform/sessionend.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace platform {

// Windows asks every top-level window whether the session may end
// (WM_QUERYENDSESSION, which Qt answers yes after its commitDataRequest),
// then tells it that it does (WM_ENDSESSION with wParam true) and may end
// the process as soon as the message is answered. Qt's own answer to the
// second is a quit, which asks every window to close, the exit question
// included: the message is taken here first and ends the program at once.
// A false wParam (another program refused) ends nothing.
class SessionEnd::Watch final : public QAbstractNativeEventFilter {
public:
    explicit Watch(std::function<void()> ended) : m_ended(std::move(ended))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~Watch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_ENDSESSION || !msg->wParam)
            return false;
        *result = 0;
        if (!m_ending) {
            m_ending = true;
            m_ended();
        }
        return true;
    }

private:
    std::function<void()> m_ended;
    bool m_ending = false; // every top-level window is told
};

SessionEnd::SessionEnd(std::function<void()> ended) : m_watch(std::make_unique<Watch>(std::move(ended))) {}

SessionEnd::~SessionEnd() = default;

} // namespace platform
