#pragma once

#include "widgets/gridgeometry.h"
#include "widgets/recordscrollbar.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QString>

#include <optional>

namespace store {
class DataSource;
class RecordSet;
} // namespace store

namespace ui {

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

    // What the grid shows: the records of the window, or one blank row for a
    // closed or empty result.
    int rowCount() const;
    // The row with the arrow mark; -1 while the record set is closed.
    int currentRow() const;
    QString rowText(int row) const;
    static QString columnTitle();
    // Data rows wholly visible; the record set's window is asked to hold as many.
    int visibleRows() const;
    const GridGeometry &gridGeometry() const { return cellGeometry(); }
    void setColumnWidth(int width);

signals:
    // A left double-click anywhere in the client area.
    void doubleClicked();

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
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
    void showVerticalBar(bool shown);
    void updateRow(int row);
    void updateFonts();

    // Assistive technology hears of changes through Qt's accessibility
    // events: the rows now show other records or another number of them; the
    // mark moved within the same rows; the record set closed.
    void announceRows();
    void announceMark();
    void announceReleased();

    void runKey(store::RecordSet &records, const QKeyEvent &event);
    void onScrollAction(int action);
    void goToThumb();
    void setTitleLook(bool hot, bool pressed);

    qreal lineThickness() const;
    void paintFrame();

    QPointer<store::DataSource> m_source;
    QList<QMetaObject::Connection> m_sourceLinks;
    // The record set that holds our window wish, so that it can be withdrawn.
    QPointer<store::RecordSet> m_windowOwner;
    GridGeometry &cellGeometry() const;
    mutable GridGeometry m_geometry;
    mutable bool m_fontsRead = false;

    int m_markedRow = -1;     // where the mark was last drawn
    int m_wheelRemainder = 0; // part of a notch from high-resolution wheels
    bool m_syncingBar = false;
    bool m_titleHot = false;
    bool m_titlePressed = false;
    bool m_titleHeld = false; // the left button went down on the title cell
    // While the column is being resized: where the pointer grabbed it, relative to its edge.
    std::optional<int> m_resizeGrab;
};

} // namespace ui
