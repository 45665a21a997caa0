#include "gridgeometry.h"

#include <QFontMetrics>
#include <QString>

#include <cstdlib>

void GridGeometry::setFonts(const QFontMetrics &data, const QFontMetrics &title)
{
    const QString sample = QStringLiteral("Wg");
    m_rowHeight = data.size(Qt::TextSingleLine, sample).height() + 4;
    m_titleHeight = title.size(Qt::TextSingleLine, sample).height() + 4;
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
