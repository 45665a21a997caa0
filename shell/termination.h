#pragma once

#include <QObject>

namespace shell {

// The request to end the program. Once set it is never withdrawn; the
// message loop ends at its next turn (the executable connects requested() to
// a queued quit). The object alive most recently is the current one, so each
// run of the reader, in the executable or in a test, has a request of its own.
class Termination final : public QObject {
    Q_OBJECT
public:
    Termination();
    ~Termination() override;
    Termination(const Termination &) = delete;
    Termination &operator=(const Termination &) = delete;

    static Termination &current();

    void request();
    bool isRequested() const { return m_requested; }

signals:
    void requested();

private:
    struct Detached {};
    explicit Termination(Detached) : m_registered(false) {}

    Termination *m_previous = nullptr;
    bool m_registered = true;
    bool m_requested = false;
};

} // namespace shell
