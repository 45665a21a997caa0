#pragma once

#include <QObject>

class QSocketNotifier;

namespace shell {

class Termination;

// Ends the program at once (Termination::endAtOnce) on the notices that the
// session ends or the system shuts down. On a systemd desktop the notice is
// SIGTERM: its handler only writes one byte into a socket pair, everything
// else happens in the loop. An X11 session manager ends the session with
// its "die" message, which Qt hands to the application as a quit event;
// nothing in the reader itself asks Qt to quit, so every such event is that
// notice. The session manager's request to save the session
// (commitDataRequest) comes for a mere save too, and is no notice of an end.
class ShutdownNotice final : public QObject {
    Q_OBJECT
public:
    explicit ShutdownNotice(Termination &termination);
    ~ShutdownNotice() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drain();
    Termination &m_termination;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace shell
