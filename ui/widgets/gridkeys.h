#pragma once

class QKeyEvent;

namespace ui {

// Keys the grid owns even when they do nothing: it is read-only and has no
// editor, so typing, Enter, Insert, F2 and the like must not reach anything else.
bool isGridKey(const QKeyEvent &event);

// What a key does to the record set's cursor.
struct GridMove {
    enum Kind { None, By, First, Last };
    Kind kind = None;
    int distance = 0; // for By: records forwards, or backwards when negative
};

// The move for a key, given the cursor's row among the rows shown and the
// number of rows that fit.
GridMove moveForKey(const QKeyEvent &event, int currentRow, int page);

} // namespace ui
