#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QScrollBar>
#include <QString>

#include <algorithm>
#include <optional>

class QFontMetrics;
class QPainter;

namespace store {
class DataSource;
class RecordSet;
} // namespace store

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

    // A row is as high as "Wg" in its font plus 4 px (3 px of padding, 1 px
    // because row lines are on); the grid line itself follows below it.
    void setFonts(const QFontMetrics &data, const QFontMetrics &title);

    int rowHeight() const { return m_rowHeight; }
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
    int m_columnWidth = defaultColumnWidth;
    int m_offset = 0;
};

// A scroll bar that repaints only where its thumb moves on screen: over a
// long result most moves of the current record shift the thumb by less than
// a pixel, and repainting the whole bar would cost more than the rows that
// changed.
class RecordScrollBar final : public QScrollBar {
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect thumbRect() const;
    // Styles draw the arrows of a bar at its ends as disabled.
    bool atEnd() const { return value() == minimum() || value() == maximum(); }

    QRect m_paintedThumb;
    bool m_paintedAtEnd = true;
};

// The title index: a read-only grid of the titles (field `CIM`) of the record set
// behind a data source, one row per record of the record set's window, with
// an indicator column that marks the current record.
//
// It is one of the views of the shared cursor: every click, key, wheel notch
// and scroll-bar action moves the record set, and every notification of the
// record set moves the grid. It keeps no copy of the records; it paints what
// the record set's window holds. The vertical scroll bar shows the current
// record's place in the whole result, not the visible part.
class DBGrid final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    void setDataSource(store::DataSource *source);
    store::DataSource *dataSource() const;

    // What the grid shows: the records of the window, or one blank row for a
    // closed or empty result.
    int rowCount() const;
    // The row with the arrow mark; -1 while the record set is closed.
    int currentRow() const;
    QString rowText(int row) const;
    static QString columnTitle();
    // Data rows wholly visible; the record set's window is asked to hold as many.
    int visibleRows() const;
    const GridGeometry &gridGeometry() const { return m_geometry; }
    int columnWidth() const { return m_geometry.columnWidth(); }
    void setColumnWidth(int width);

signals:
    // A left double-click anywhere in the client area.
    void doubleClicked();
    // For assistive technology: the mark moved to another row of the same rows...
    void markMoved();
    // ...the rows now show other records, or another number of them...
    void rowsChanged();
    // ...or the record set closed and the records shown so far are gone.
    void rowsReleased();

protected:
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // Tab and Shift+Tab move the cursor; they never take the focus out of the grid.
    bool focusNextPrevChild(bool) override { return false; }

private:
    store::RecordSet *records() const;
    store::RecordSet *openRecords() const;

    void onStateChanged(bool active);
    void onDataSetChanged();
    void onScrolled(int distance);
    void reload();
    void refresh();
    void requestWindow();
    void syncHorizontalBar();
    void syncVerticalBar(store::RecordSet *open);
    void updateRow(int row);
    void updateFonts();

    void runKey(store::RecordSet &records, const QKeyEvent &event);
    void onScrollAction(int action);
    void goToThumb();
    void setTitleLook(bool hot, bool pressed);

    void paintTitleRow(QPainter &painter, int width);
    void paintRows(QPainter &painter, int first, int last, int width);
    void paintColumnLines(QPainter &painter, int top, int height);

    QPointer<store::DataSource> m_source;
    QList<QMetaObject::Connection> m_sourceLinks;
    // The record set that holds our window wish, so that it can be withdrawn.
    QPointer<store::RecordSet> m_windowOwner;
    GridGeometry m_geometry;

    int m_markedRow = -1;     // where the mark was last drawn
    int m_wheelRemainder = 0; // part of a notch from high-resolution wheels
    bool m_syncingBar = false;
    bool m_titleHot = false;
    bool m_titlePressed = false;
    bool m_titleHeld = false; // the left button went down on the title cell
    // While the column is being resized: where the pointer grabbed it, relative to its edge.
    std::optional<int> m_resizeGrab;
};
