#include "termination.h"

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

void Termination::request()
{
    if (m_requested)
        return;
    m_requested = true;
    emit requested();
}

} // namespace shell
