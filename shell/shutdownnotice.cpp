#include "shutdownnotice.h"

#include "termination.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace shell {

namespace {
int noticeFds[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(noticeFds[0], &byte, 1);
}
} // namespace

ShutdownNotice::ShutdownNotice(Termination &termination) : m_termination(termination)
{
    // Qt's own handling of the quit event would ask every window to close
    // and give up at the first refusal (the exit question refuses).
    QCoreApplication::instance()->installEventFilter(this);

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, noticeFds) != 0)
        return; // without the pair SIGTERM keeps its default action: the process ends at once
    m_notifier = new QSocketNotifier(noticeFds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownNotice::drain);

    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

ShutdownNotice::~ShutdownNotice()
{
    std::signal(SIGTERM, SIG_DFL);
    for (int &fd : noticeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

bool ShutdownNotice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit)
        return false;
    m_termination.endAtOnce();
    return true;
}

void ShutdownNotice::drain()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::read(noticeFds[1], &byte, 1);
    m_termination.endAtOnce();
}

} // namespace shell
