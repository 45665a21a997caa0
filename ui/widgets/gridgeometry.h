#pragma once

#include <QRect>

#include <algorithm>

class QFont;

namespace ui {

// Where the parts of the grid lie in its viewport: the title row on top, the
// indicator column at the left and the one data column, each followed by a
// one-pixel grid line. Data rows are numbered from 0 below the title row.
class GridGeometry final {
public:
    static constexpr int lineWidth = 1;
    static constexpr int indicatorWidth = 11;
    static constexpr int defaultColumnWidth = 625;
    // A press this close to the column's right edge, on the title row, resizes the column.
    static constexpr int resizeMargin = 2;

    enum class Area { Corner, Title, ColumnEdge, Indicator, Cell, Blank };
    struct Hit {
        Area area;
        int row; // the data row for Indicator and Cell
    };

    // A row is as high as a line of text in its font plus 4 px (3 px of
    // padding, 1 px because row lines are on); the grid line itself follows
    // below it. Text starts 2 px below a cell's top.
    void setFonts(const QFont &data, const QFont &title);

    int rowHeight() const { return m_rowHeight; }
    // The baselines of a data cell's and of the title cell's text, from their tops.
    int dataBaseline() const { return m_dataBaseline; }
    int titleBaseline() const { return m_titleBaseline; }
    int titleHeight() const { return m_titleHeight; }
    int rowPitch() const { return m_rowHeight + lineWidth; }
    int rowsTop() const { return m_titleHeight + lineWidth; }
    // Rows that fit wholly into a viewport this high; never fewer than one.
    int fullRows(int viewportHeight) const;

    int columnWidth() const { return m_columnWidth; }
    void setColumnWidth(int width) { m_columnWidth = std::max(1, width); }
    // How far the data column is scrolled to the left; the indicator column stays put.
    void setHorizontalOffset(int offset) { m_offset = offset; }
    int contentWidth() const { return indicatorWidth + lineWidth + m_columnWidth + lineWidth; }
    int columnLeft() const { return indicatorWidth + lineWidth - m_offset; }
    // The x of the line that closes the data column.
    int columnEdge() const { return columnLeft() + m_columnWidth; }

    QRect cornerRect() const { return {0, 0, indicatorWidth, m_titleHeight}; }
    QRect titleRect() const { return {columnLeft(), 0, m_columnWidth, m_titleHeight}; }
    QRect indicatorRect(int row) const { return {0, rowTop(row), indicatorWidth, m_rowHeight}; }
    QRect cellRect(int row) const { return {columnLeft(), rowTop(row), m_columnWidth, m_rowHeight}; }
    // The whole band of a row, its line below included, across the viewport.
    QRect rowBand(int row, int viewportWidth) const { return {0, rowTop(row), viewportWidth, rowPitch()}; }
    QRect rowsBand(int rows, int viewportWidth) const { return {0, rowsTop(), viewportWidth, rows * rowPitch()}; }
    int rowTop(int row) const { return rowsTop() + row * rowPitch(); }

    Hit hitTest(QPoint point, int rows) const;

private:
    int m_rowHeight = 0;
    int m_titleHeight = 0;
    int m_dataBaseline = 0;
    int m_titleBaseline = 0;
    int m_columnWidth = defaultColumnWidth;
    int m_offset = 0;
};

} // namespace ui
