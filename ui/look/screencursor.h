#pragma once

#include "busycursor.h"

#include <QCursor>

#include <optional>

namespace ui {

// The application's screen cursor: the SQL wait cursor or the default one.
// It is the only owner of the application's override cursor, so the record
// set's busy cursor and the search page can both set it without stacking
// overrides: while the wait cursor shows there is exactly one override.
class ScreenCursor final : public store::ScreenCursor {
public:
    ScreenCursor() = default;
    ~ScreenCursor() override { setDefault(); }
    ScreenCursor(const ScreenCursor &) = delete;
    ScreenCursor &operator=(const ScreenCursor &) = delete;

    bool isSqlWait() const override { return m_overriding; }
    void setSqlWait() override;
    void setDefault() override;

    // The hourglass with "SQL" that the program carries, or the system's wait
    // cursor when the picture is missing.
    static QCursor sqlWaitCursor();

private:
    bool m_overriding = false;
    // Made at the first wait: converting the picture costs more than a
    // search on the carried poems.
    std::optional<QCursor> m_sqlWait;
};

} // namespace ui
