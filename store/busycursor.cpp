#include "busycursor.h"

namespace store {

namespace {

class NoScreenCursor final : public ScreenCursor {
public:
    bool isSqlWait() const override { return false; }
    void setSqlWait() override {}
    void setDefault() override {}
};

} // namespace

ScreenCursor &ScreenCursor::none()
{
    static NoScreenCursor cursor;
    return cursor;
}

BusyCursor::BusyCursor(QObject *parent) : QObject(parent), m_screen(&ScreenCursor::none())
{
    m_timer.setInterval(resetDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &BusyCursor::tick);
}

void BusyCursor::begin()
{
    if (!m_screen->isSqlWait())
        m_screen->setSqlWait();
}

void BusyCursor::end()
{
    m_sinceLastEnd.start();
    m_timer.start(); // restarting pushes back a reset that is still pending
}

void BusyCursor::tick()
{
    // A coarse timer may fire a little early; the delay counts from the end
    // of the last operation, not from the tick.
    if (m_sinceLastEnd.elapsed() < resetDelayMs)
        return;
    m_timer.stop();
    m_screen->setDefault();
}

} // namespace store
