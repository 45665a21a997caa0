#pragma once

#include <QObject>

class QSocketNotifier;

namespace shell {

// Turns SIGTERM, the notice this platform sends when the session ends or the
// system shuts down, into a Qt signal on the GUI thread. The handler only
// writes one byte into a socket pair; everything else happens in the loop.
class ShutdownNotice final : public QObject {
    Q_OBJECT
public:
    explicit ShutdownNotice(QObject *parent = nullptr);
    ~ShutdownNotice() override;

signals:
    void arrived();

private:
    void drain();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace shell
