#include "widgets/gridgeometry.h"

#include "look/textmetrics.h"

#include <QFont>

#include <cstdlib>

namespace ui {

void GridGeometry::setFonts(const QFont &data, const QFont &title)
{
    constexpr int textTop = 2;
    const ui::TextMetrics dataLine = ui::textMetrics(data);
    const ui::TextMetrics titleLine = ui::textMetrics(title);
    m_rowHeight = dataLine.height() + 4;
    m_titleHeight = titleLine.height() + 4;
    m_dataBaseline = textTop + dataLine.ascent;
    m_titleBaseline = textTop + titleLine.ascent;
}

int GridGeometry::fullRows(int viewportHeight) const
{
    return std::max(1, (viewportHeight - rowsTop()) / rowPitch());
}

GridGeometry::Hit GridGeometry::hitTest(QPoint point, int rows) const
{
    const int fixedRight = indicatorWidth + lineWidth;
    if (point.y() < rowsTop()) {
        if (point.x() >= fixedRight && std::abs(point.x() - columnEdge()) <= resizeMargin)
            return {Area::ColumnEdge, -1};
        if (point.x() < fixedRight)
            return {Area::Corner, -1};
        return {point.x() < columnEdge() ? Area::Title : Area::Blank, -1};
    }
    const int row = (point.y() - rowsTop()) / rowPitch();
    if (row >= rows || point.x() > columnEdge())
        return {Area::Blank, -1};
    return {point.x() < fixedRight ? Area::Indicator : Area::Cell, row};
}

} // namespace ui
