#pragma once

#include "widgets/gridgeometry.h"

#include <QString>

#include <functional>

class QPainter;
class QWidget;

namespace ui {

// What the grid looks like at the moment of painting.
struct GridLook {
    bool titleHot = false;
    bool titlePressed = false;
    int markedRow = -1;   // the row with the arrow mark
    int selectedRow = -1; // the row in selection colours, with the focus rectangle
    qreal lineThickness = 1;
};

// Paints the parts of the title grid: the title row and runs of data rows.
// It reads the grid widget only for its style, palette and font; everything
// else it is handed.
class GridPainter final {
public:
    GridPainter(QPainter &painter, const QWidget &grid, const GridGeometry &geometry, const GridLook &look);

    void paintTitleRow(int width, const QString &title);
    void paintRows(int first, int last, int width, const std::function<QString(int)> &rowText);

private:
    void paintColumnLines(int top, int height);
    void paintRowLine(int y, int width);

    QPainter &m_painter;
    const QWidget &m_grid;
    const GridGeometry &m_geometry;
    GridLook m_look;
};

} // namespace ui
