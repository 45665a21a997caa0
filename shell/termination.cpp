#include "termination.h"

#include <QCoreApplication>
#include <QTimer>

namespace shell {

namespace {
Termination *currentTermination = nullptr;
}

Termination::Termination() : m_previous(currentTermination)
{
    currentTermination = this;
}

Termination::~Termination()
{
    if (m_registered && currentTermination == this)
        currentTermination = m_previous;
}

Termination &Termination::current()
{
    // Code that runs without a request of its own (a window built alone in a
    // test, say) still gets one that lives as long as the process.
    static Termination fallback{Detached{}};
    return currentTermination ? *currentTermination : fallback;
}

void Termination::request(int exitStatus)
{
    if (m_requested)
        return;
    m_requested = true;
    m_exitStatus = exitStatus;
    emit requested();
}

void Termination::endAtOnce()
{
    request();
    // exit() rather than quit(): quit() first asks every window and box to
    // close, and the exit question refuses; exit() ends every loop as it is.
    QCoreApplication::exit(m_exitStatus);
}

int Termination::runLoop(const std::function<void()> &startUp)
{
    // Queued, so that a request set during start-up ends the loop at its first
    // turn, after the main window has been shown. Tied to an object of this
    // run, so that an exit still queued when the loop ends dies with it.
    QObject thisRun;
    connect(this, &Termination::requested, &thisRun, [this] { QCoreApplication::exit(m_exitStatus); },
            Qt::QueuedConnection);
    QTimer::singleShot(0, &thisRun, startUp);
    return QCoreApplication::exec();
}

} // namespace shell
