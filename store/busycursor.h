#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace store {

// The application-wide screen cursor as the store sees it: either the SQL wait
// cursor or the default one. The store knows no widgets, so the GUI supplies
// the real implementation; without one, nothing is shown.
class ScreenCursor {
public:
    virtual ~ScreenCursor() = default;
    virtual bool isSqlWait() const = 0;
    virtual void setSqlWait() = 0;
    virtual void setDefault() = 0;

    // A cursor that shows nothing: the store works the same without a screen.
    static ScreenCursor &none();
};

// Shows the SQL wait cursor while the engine works and puts the default cursor
// back from the event loop, at the first timer tick at least resetDelayMs after
// the last operation ended. Resetting late rather than at once keeps a run of
// quick operations from making the cursor flicker, and the reset can only
// happen once the thread is back in its event loop.
class BusyCursor final : public QObject {
    Q_OBJECT
public:
    static constexpr int resetDelayMs = 50;

    explicit BusyCursor(QObject *parent = nullptr);

    void setScreenCursor(ScreenCursor &screen) { m_screen = &screen; }

    // One engine operation: the wait cursor from construction, the reset
    // scheduled on destruction, also when the operation throws.
    class Operation final {
    public:
        explicit Operation(BusyCursor &busy) : m_busy(busy) { m_busy.begin(); }
        ~Operation() { m_busy.end(); }
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;

    private:
        BusyCursor &m_busy;
    };

private:
    void begin();
    void end();
    void tick();

    ScreenCursor *m_screen;
    QTimer m_timer;
    QElapsedTimer m_sinceLastEnd;
};

} // namespace store
