#include "accessible/dbgridaccessible.h"

#include "widgets/dbgrid.h"

#include <QWindow>

#include <algorithm>

namespace ui {

namespace {

QRect globalRect(const DBGrid &grid, const QRect &local)
{
    return QRect(grid.viewport()->mapToGlobal(local.topLeft()), local.size());
}

} // namespace

// ---------------------------------------------------------------- the table

DBGridAccessible::DBGridAccessible(DBGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}

// Runs also while the grid itself is being destroyed: it touches only the cache.
DBGridAccessible::~DBGridAccessible()
{
    dropCells(-1);
}

DBGrid *DBGridAccessible::grid() const
{
    return static_cast<DBGrid *>(widget());
}

void *DBGridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface *DBGridAccessible::cell(int row) const
{
    const auto found = m_cells.find(row);
    if (found != m_cells.end()) {
        if (QAccessibleInterface *kept = QAccessible::accessibleInterface(found->second))
            return kept;
    }
    auto *made = new DBGridCellAccessible(grid(), row);
    m_cells[row] = QAccessible::registerAccessibleInterface(made);
    return made;
}

void DBGridAccessible::dropCells(int fromRow)
{
    for (auto it = m_cells.lower_bound(fromRow); it != m_cells.end(); it = m_cells.erase(it))
        QAccessible::deleteAccessibleInterface(it->second);
}

// Children: the column's title first, then one cell per row.
int DBGridAccessible::childCount() const
{
    return 1 + rowCount();
}

QAccessibleInterface *DBGridAccessible::child(int index) const
{
    return cell(std::clamp(index, 0, childCount() - 1) - 1);
}

int DBGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *gridCell = dynamic_cast<const DBGridCellAccessible *>(child);
    if (!gridCell || gridCell->grid() != grid() || gridCell->row() >= rowCount())
        return -1;
    return gridCell->row() + 1;
}

QAccessibleInterface *DBGridAccessible::childAt(int x, int y) const
{
    const QPoint point = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const GridGeometry::Hit hit = grid()->gridGeometry().hitTest(point, grid()->rowCount());
    switch (hit.area) {
    case GridGeometry::Area::Title:
        return cell(-1);
    case GridGeometry::Area::Indicator:
    case GridGeometry::Area::Cell:
        return cell(hit.row);
    default:
        return nullptr;
    }
}

QAccessibleInterface *DBGridAccessible::focusChild() const
{
    return cell(std::max(0, grid()->currentRow()));
}

QStringList DBGridAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void DBGridAccessible::doAction(const QString &action)
{
    // Queued: the detail window is modal, and the screen reader's call must
    // return before it opens.
    if (action == pressAction())
        QMetaObject::invokeMethod(grid(), &DBGrid::doubleClicked, Qt::QueuedConnection);
    else
        QAccessibleWidget::doAction(action);
}

QAccessibleInterface *DBGridAccessible::cellAt(int row, int) const
{
    return cell(std::clamp(row, 0, rowCount() - 1));
}

QList<QAccessibleInterface *> DBGridAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (int row : selectedRows())
        cells.append(cell(row));
    return cells;
}

QString DBGridAccessible::columnDescription(int) const
{
    return DBGrid::columnTitle();
}

int DBGridAccessible::rowCount() const
{
    return grid()->rowCount();
}

QList<int> DBGridAccessible::selectedRows() const
{
    const int current = grid()->currentRow();
    return current < 0 ? QList<int>() : QList<int>{current};
}

bool DBGridAccessible::isRowSelected(int row) const
{
    return row >= 0 && row == grid()->currentRow();
}

// The records are gone with a closed record set, and so are the cells that
// showed them. Otherwise the same cells now show other records: their names
// changed, and cells past the rows shown are gone.
void DBGridAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset) {
        dropCells(0);
        return;
    }
    dropCells(rowCount());
    for (const auto &[row, id] : m_cells) {
        if (row < 0)
            continue;
        QAccessibleEvent renamed(QAccessible::accessibleInterface(id), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

// ---------------------------------------------------------------- a cell

DBGridCellAccessible::DBGridCellAccessible(DBGrid *grid, int row) : m_grid(grid), m_row(row) {}

bool DBGridCellAccessible::isValid() const
{
    return m_grid && m_row < m_grid->rowCount();
}

QWindow *DBGridCellAccessible::window() const
{
    return m_grid ? m_grid->window()->windowHandle() : nullptr;
}

QAccessibleInterface *DBGridCellAccessible::parent() const
{
    return table();
}

QString DBGridCellAccessible::text(QAccessible::Text type) const
{
    if (type != QAccessible::Name || !isValid())
        return {};
    return isTitle() ? DBGrid::columnTitle() : m_grid->rowText(m_row);
}

QRect DBGridCellAccessible::rect() const
{
    if (!isValid())
        return {};
    const GridGeometry &geometry = m_grid->gridGeometry();
    return globalRect(*m_grid, isTitle() ? geometry.titleRect() : geometry.cellRect(m_row));
}

QAccessible::Role DBGridCellAccessible::role() const
{
    return isTitle() ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State DBGridCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.readOnly = true;
    if (isTitle())
        return state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = state.selected && m_grid->hasFocus();
    return state;
}

void *DBGridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface && !isTitle())
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}

bool DBGridCellAccessible::isSelected() const
{
    return isValid() && !isTitle() && m_row == m_grid->currentRow();
}

QList<QAccessibleInterface *> DBGridCellAccessible::columnHeaderCells() const
{
    QAccessibleInterface *gridTable = table();
    return gridTable ? QList<QAccessibleInterface *>{gridTable->child(0)} : QList<QAccessibleInterface *>();
}

QAccessibleInterface *DBGridCellAccessible::table() const
{
    return QAccessible::queryAccessibleInterface(m_grid.data());
}

} // namespace ui
