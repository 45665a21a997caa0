#include "shutdownnotice.h"

#include "termination.h"

namespace shell {

ShutdownNotice::ShutdownNotice(Termination &termination)
    : m_sessionEnd([&termination] { termination.endAtOnce(); })
{
}

} // namespace shell
