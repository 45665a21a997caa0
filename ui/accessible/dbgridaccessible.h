#pragma once

#include <QAccessibleWidget>
#include <QList>
#include <QPointer>

#include <map>

namespace ui {

class DBGrid;

// The title grid as assistive technology reads it: a table of one column
// whose rows are the rows the grid shows, with the current row selected (and
// focused while the grid has the focus). The grid announces its changes with
// Qt's table-model-change events, which reach modelChange() first.
//
// Its cells are made when first asked for and kept under their
// accessibility ids, so a screen reader sees the same object for a row until
// the rows change shape or the record set closes.
//
// Qt's AT-SPI bridge dereferences what child(), cellAt() and focusChild()
// return without checking, also with indices from before the last change:
// these never return null. The grid always shows at least one row, so there
// is always a cell to give.
class DBGridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit DBGridAccessible(DBGrid *grid);
    ~DBGridAccessible() override;

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    // The press action opens the current record, as a double-click does.
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return int(selectedRows().size()); }
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return 1; }
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // Selection follows the record set's cursor only.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The cells read the grid when asked; a change only prunes the cache
    // and tells the kept cells that their names changed.
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

private:
    DBGrid *grid() const;
    // Row -1 is the column's title.
    QAccessibleInterface *cell(int row) const;
    void dropCells(int fromRow);

    mutable std::map<int, QAccessible::Id> m_cells;
};

// One cell of the grid, or with row -1 the column's title. It holds no text
// of its own: it reads the grid's row each time, so a scrolled grid needs no
// new cells, only a note that their names changed.
class DBGridCellAccessible final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    DBGridCellAccessible(DBGrid *grid, int row);

    int row() const { return m_row; }
    const DBGrid *grid() const { return m_grid; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    bool isTitle() const { return m_row < 0; }

    QPointer<DBGrid> m_grid;
    int m_row;
};

} // namespace ui
