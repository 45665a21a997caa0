#include "widgets/gridpainter.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QWidget>

#include <cstdlib>

namespace ui {

namespace {

// The arrow mark: a small black triangle pointing right, 1 px from the cell's
// inner edge and centred vertically, drawn pixel row by pixel row so that it
// is symmetric at any size.
void paintArrow(QPainter &painter, const QRect &cell)
{
    constexpr int half = 3;
    const int tip = cell.right() - 1;
    const int middle = cell.top() + cell.height() / 2;
    for (int dy = -half; dy <= half; ++dy)
        painter.fillRect(tip - half, middle + dy, half + 1 - std::abs(dy), 1, Qt::black);
}

void paintFocusRect(QPainter &painter, const QRect &cell, const QColor &colour)
{
    QPen dotted(colour, 0);
    dotted.setDashPattern({1, 1});
    painter.setPen(dotted);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
}

} // namespace

GridPainter::GridPainter(QPainter &painter, const QWidget &grid, const GridGeometry &geometry,
                         const GridLook &look)
    : m_painter(painter), m_grid(grid), m_geometry(geometry), m_look(look)
{
}

void GridPainter::paintTitleRow(int width, const QString &title)
{
    const QPalette &colours = m_grid.palette();
    // Thin lines cover only part of the pixel they stand for; at a fractional
    // density the rest of it can be a whole screen pixel, which the band's
    // own colour fills instead of whatever the screen held before.
    m_painter.fillRect(0, 0, width, m_geometry.rowsTop(), colours.button());
    QStyleOptionHeader header;
    header.initFrom(&m_grid);
    header.orientation = Qt::Horizontal;
    header.position = QStyleOptionHeader::OnlyOneSection;
    header.rect = m_geometry.titleRect();
    header.state |= QStyle::State_Raised;
    if (m_look.titleHot)
        header.state |= QStyle::State_MouseOver;
    if (m_look.titlePressed)
        header.state = (header.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
    m_grid.style()->drawControl(QStyle::CE_HeaderSection, &header, &m_painter, &m_grid);

    QFont bold = m_grid.font();
    bold.setBold(true);
    m_painter.setFont(bold);
    m_painter.setPen(colours.color(QPalette::WindowText));
    // A held title's caption moves 1 px right and down.
    const int shift = m_look.titlePressed ? 1 : 0;
    m_painter.save();
    m_painter.setClipRect(header.rect);
    m_painter.drawText(header.rect.left() + 2 + shift, m_geometry.titleBaseline() + shift, title);
    m_painter.restore();

    // The corner goes on top: a column scrolled to the left slides under it.
    QStyleOptionHeader corner = header;
    corner.rect = m_geometry.cornerRect();
    corner.state = (header.state & ~(QStyle::State_MouseOver | QStyle::State_Sunken)) | QStyle::State_Raised;
    m_painter.fillRect(corner.rect, colours.button());
    m_grid.style()->drawControl(QStyle::CE_HeaderSection, &corner, &m_painter, &m_grid);

    const int edge = m_geometry.columnEdge();
    m_painter.fillRect(edge + 1, 0, width - edge - 1, m_geometry.rowsTop(), colours.base());
    paintColumnLines(0, m_geometry.rowsTop());
    paintRowLine(m_geometry.titleHeight(), edge);
}

// Rows first..last: the backgrounds and the lines in a few long strokes, then
// the titles, then the current row's marks. Painting a row costs little more
// than writing its title, which keeps whole-page moves cheap.
void GridPainter::paintRows(int first, int last, int width, const std::function<QString(int)> &rowText)
{
    const QPalette &colours = m_grid.palette();
    const int top = m_geometry.rowTop(first);
    const int height = m_geometry.rowTop(last + 1) - top;
    const int edge = m_geometry.columnEdge();
    m_painter.fillRect(0, top, width, height, colours.base());
    m_painter.fillRect(0, top, GridGeometry::indicatorWidth, height, colours.button());
    paintColumnLines(top, height);
    for (int row = first; row <= last; ++row)
        paintRowLine(m_geometry.rowTop(row) + m_geometry.rowHeight(), edge);

    // Titles are cut at the column's edges, on one line, without an ellipsis.
    const int fixedRight = GridGeometry::indicatorWidth + GridGeometry::lineWidth;
    m_painter.setClipRect(fixedRight, top, edge - fixedRight, height);
    m_painter.setFont(m_grid.font());
    m_painter.setPen(colours.color(QPalette::Text));
    const QPoint text(m_geometry.columnLeft() + 3, m_geometry.dataBaseline());
    const auto inRun = [&](int row) { return row >= first && row <= last; };
    const int selected = inRun(m_look.selectedRow) ? m_look.selectedRow : -1;
    for (int row = first; row <= last; ++row) {
        if (row != selected)
            m_painter.drawText(text + QPoint(0, m_geometry.rowTop(row)), rowText(row));
    }
    if (selected >= 0) {
        const QRect cell = m_geometry.cellRect(selected);
        m_painter.fillRect(cell, colours.highlight());
        m_painter.setPen(colours.color(QPalette::HighlightedText));
        m_painter.drawText(text + QPoint(0, cell.top()), rowText(selected));
        paintFocusRect(m_painter, cell, colours.color(QPalette::HighlightedText));
    }
    m_painter.setClipping(false);
    if (inRun(m_look.markedRow))
        paintArrow(m_painter, m_geometry.indicatorRect(m_look.markedRow));
}

// The lines after the indicator column and after the data column.
void GridPainter::paintColumnLines(int top, int height)
{
    const QColor line = m_grid.palette().color(QPalette::Mid);
    m_painter.fillRect(QRectF(GridGeometry::indicatorWidth, top, m_look.lineThickness, height), line);
    m_painter.fillRect(QRectF(m_geometry.columnEdge(), top, m_look.lineThickness, height), line);
}

void GridPainter::paintRowLine(int y, int width)
{
    m_painter.fillRect(QRectF(0, y, width, m_look.lineThickness), m_grid.palette().color(QPalette::Mid));
}

} // namespace ui
