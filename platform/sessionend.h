#pragma once

#include <functional>
#include <memory>

namespace platform {

// Calls back, from the loop, when the system tells the program that the
// user's session ends or the system shuts down: the program is to end at
// once, whatever it shows. A mere request to save the session's state is no
// such notice. One lives at a time, from after the application is made.
class SessionEnd final {
public:
    explicit SessionEnd(std::function<void()> ended);
    ~SessionEnd();
    SessionEnd(const SessionEnd &) = delete;
    SessionEnd &operator=(const SessionEnd &) = delete;

private:
    class Watch; // how this system says it
    std::unique_ptr<Watch> m_watch;
};

} // namespace platform
