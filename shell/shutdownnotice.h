#pragma once

#include "platform/sessionend.h"

namespace shell {

class Termination;

// The end of the user's session (log-off, shutdown) ends the program at once
// through its termination request, whatever is open: no question, no
// release sequence.
class ShutdownNotice final {
public:
    explicit ShutdownNotice(Termination &termination);

private:
    platform::SessionEnd m_sessionEnd;
};

} // namespace shell
