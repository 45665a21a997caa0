#include "platform/sessionend.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {
int noticeFds[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(noticeFds[0], &byte, 1);
}
} // namespace

// On a systemd desktop the notice is SIGTERM: its handler only writes one
// byte into a socket pair, everything else happens in the loop. An X11
// session manager ends the session with its "die" message, which Qt hands to
// the application as a quit event; nothing in the reader itself asks Qt to
// quit, so every such event is that notice. The session manager's request to
// save the session (commitDataRequest) comes for a mere save too, and is no
// notice of an end.
class SessionEnd::Watch final : public QObject {
public:
    explicit Watch(std::function<void()> ended) : m_ended(std::move(ended))
    {
        // Qt's own handling of the quit event would ask every window to
        // close and give up at the first refusal (the exit question refuses).
        QCoreApplication::instance()->installEventFilter(this);

        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, noticeFds) != 0)
            return; // without the pair SIGTERM keeps its default action: the process ends at once
        auto *notifier = new QSocketNotifier(noticeFds[1], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &Watch::drain);

        struct sigaction action {};
        action.sa_handler = onTerminate;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
    }

    ~Watch() override
    {
        std::signal(SIGTERM, SIG_DFL);
        for (int &fd : noticeFds) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit)
            return false;
        m_ended();
        return true;
    }

private:
    void drain()
    {
        char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::read(noticeFds[1], &byte, 1);
        m_ended();
    }

    std::function<void()> m_ended;
};

SessionEnd::SessionEnd(std::function<void()> ended) : m_watch(std::make_unique<Watch>(std::move(ended))) {}

SessionEnd::~SessionEnd() = default;

} // namespace platform
