#pragma once

#include <QObject>

#include <functional>

namespace shell {

// The request to end the program. Once set it is never withdrawn; the
// message loop ends at its next turn (runLoop() sees to that). The object
// alive most recently is the current one, so each run of the reader, in the
// executable or in a test, has a request of its own.
class Termination final : public QObject {
    Q_OBJECT
public:
    Termination();
    ~Termination() override;
    Termination(const Termination &) = delete;
    Termination &operator=(const Termination &) = delete;

    static Termination &current();

    // The program's exit status: 0 for an ordinary end, `startUpFailed` when
    // the request came from a failed start-up, so that whoever started the
    // reader is not told that all went well. The first request's status stands.
    static constexpr int startUpFailed = 1;
    void request(int exitStatus = 0);
    bool isRequested() const { return m_requested; }
    int exitStatus() const { return m_exitStatus; }

    // The session is ending (log-off, shutdown): sets the request and ends
    // every running loop now, the nested loops of open boxes and windows
    // included, without asking anything to close.
    void endAtOnce();

    // Runs the message loop until the request is set and returns its exit
    // code. Start-up belongs inside this loop: a box shown during start-up
    // runs a nested loop, and only a loop that already runs can be ended
    // from in there (Qt forgets an exit asked for before its loop starts).
    int runLoop(const std::function<void()> &startUp);

signals:
    void requested();

private:
    struct Detached {};
    explicit Termination(Detached) : m_registered(false) {}

    Termination *m_previous = nullptr;
    bool m_registered = true;
    bool m_requested = false;
    int m_exitStatus = 0;
};

} // namespace shell
