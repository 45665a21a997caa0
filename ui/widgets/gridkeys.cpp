#include "widgets/gridkeys.h"

#include <QKeyEvent>

namespace ui {

bool isGridKey(const QKeyEvent &event)
{
    const bool chord = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_F2:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Ctrl+Tab belongs to the page control, Alt+Tab to the desktop.
        return !chord;
    default:
        return !chord && !event.text().isEmpty() && event.text().front().isPrint();
    }
}

GridMove moveForKey(const QKeyEvent &event, int currentRow, int page)
{
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    // Ctrl+Up and Ctrl+Page Up go to the top row, Ctrl+Down and Ctrl+Page Down
    // to the bottom one. The bottom is that of all the rows that fit, so a
    // result shorter than the grid ends on its last record, end marker set.
    const int toTop = -currentRow;
    const int toBottom = page - 1 - currentRow;
    switch (event.key()) {
    case Qt::Key_Up:
        return {GridMove::By, ctrl ? toTop : -1};
    case Qt::Key_PageUp:
        return {GridMove::By, ctrl ? toTop : -page};
    case Qt::Key_Down:
        return {GridMove::By, ctrl ? toBottom : 1};
    case Qt::Key_PageDown:
        return {GridMove::By, ctrl ? toBottom : page};
    case Qt::Key_Home:
        return {GridMove::First};
    case Qt::Key_End:
        return {GridMove::Last};
    // Past the only column, Tab wraps to the next row and Shift+Tab to the previous one.
    case Qt::Key_Tab:
        return {GridMove::By, event.modifiers() & Qt::ShiftModifier ? -1 : 1};
    case Qt::Key_Backtab:
        return {GridMove::By, -1};
    default:
        return {};
    }
}

} // namespace ui
