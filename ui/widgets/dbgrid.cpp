#include "widgets/dbgrid.h"

#include "datasource.h"
#include "handlerguard.h"
#include "recordset.h"
#include "widgets/gridkeys.h"
#include "widgets/gridpainter.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>

namespace ui {

DBGrid::DBGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBar(new RecordScrollBar(Qt::Vertical, this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // paintEvent covers every pixel it is asked for, so Qt need not clear the
    // background first, and scrolling may move the pixels already painted.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // For the title's hot look and the resize cursor at the column's edge.
    viewport()->setMouseTracking(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::blue); // the titles are written in blue
    setPalette(colours);

    QScrollBar *bar = verticalScrollBar();
    bar->installEventFilter(this); // its wheel notches move the cursor like the grid's own
    connect(bar, &QScrollBar::actionTriggered, this, &DBGrid::onScrollAction);
    connect(bar, &QScrollBar::sliderReleased, this, &DBGrid::goToThumb);
    // A thumb placed without dragging ("Scroll here") goes to its record at once.
    connect(bar, &QScrollBar::valueChanged, this, [this] {
        if (!m_syncingBar && !verticalScrollBar()->isSliderDown())
            goToThumb();
    });
    updateFonts();
}

DBGrid::~DBGrid()
{
    // Withdrawing only ever shrinks the window, which reads nothing from the engine.
    if (m_windowOwner)
        m_windowOwner->setWindowSize(this, 0);
}

void DBGrid::setDataSource(store::DataSource *source)
{
    for (const QMetaObject::Connection &link : std::as_const(m_sourceLinks))
        disconnect(link);
    m_sourceLinks.clear();
    m_source = source;
    if (source) {
        m_sourceLinks = {
            connect(source, &store::DataSource::stateChanged, this, &DBGrid::onStateChanged),
            connect(source, &store::DataSource::dataSetChanged, this, &DBGrid::onDataSetChanged),
            connect(source, &store::DataSource::scrolledBy, this, &DBGrid::onScrolled),
        };
    }
    reload();
}

store::RecordSet *DBGrid::records() const
{
    return m_source ? m_source->recordSet() : nullptr;
}

store::RecordSet *DBGrid::openRecords() const
{
    store::RecordSet *current = records();
    return current && current->isActive() ? current : nullptr;
}

int DBGrid::rowCount() const
{
    const store::RecordSet *open = openRecords();
    return open ? std::max(1, open->windowCount()) : 1;
}

int DBGrid::currentRow() const
{
    const store::RecordSet *open = openRecords();
    return open ? open->currentRow() : -1;
}

QString DBGrid::rowText(int row) const
{
    const store::RecordSet *open = openRecords();
    return open ? open->windowText(row, QStringLiteral("CIM")) : QString();
}

QString DBGrid::columnTitle()
{
    return QStringLiteral("Cím");
}

int DBGrid::visibleRows() const
{
    return cellGeometry().fullRows(viewport()->height());
}

void DBGrid::setColumnWidth(int width)
{
    cellGeometry().setColumnWidth(width);
    syncHorizontalBar();
    viewport()->update();
}

// ---------------------------------------------------------------- following the cursor

void DBGrid::onStateChanged(bool active)
{
    if (active) {
        reload();
    } else {
        refresh(); // nothing to read: the rows are going
        announceReleased();
    }
}

void DBGrid::onDataSetChanged()
{
    reload();
}

// The window moved by `distance` records (towards the beginning when positive)
// or stayed: the rows still shown move by pixels and only the rows that came
// into view, plus the old and the new current row, are painted again.
void DBGrid::onScrolled(int distance)
{
    const int shown = rowCount();
    const QRect band = cellGeometry().rowsBand(shown, viewport()->width());
    if (distance != 0 && std::abs(distance) < shown)
        viewport()->scroll(0, distance * cellGeometry().rowPitch(), band);
    else if (distance != 0)
        viewport()->update(band);
    updateRow(m_markedRow + distance);
    m_markedRow = currentRow();
    updateRow(m_markedRow);
    shell::guarded([this] { syncVerticalBar(openRecords()); });
    if (distance != 0)
        announceRows();
    else
        announceMark();
}

// Rows may now show other records or be another number: the window is sized
// to the rows that fit and everything is drawn anew.
void DBGrid::reload()
{
    shell::guarded([this] {
        requestWindow();
        refresh();
    });
    announceRows();
}

void DBGrid::refresh()
{
    m_markedRow = currentRow();
    syncHorizontalBar();
    syncVerticalBar(openRecords());
    viewport()->update();
}

// The record set keeps as many records around the cursor as we show whole rows.
void DBGrid::requestWindow()
{
    store::RecordSet *current = records();
    if (m_windowOwner != current) {
        if (m_windowOwner)
            m_windowOwner->setWindowSize(this, 0);
        m_windowOwner = current;
    }
    if (current)
        current->setWindowSize(this, visibleRows());
}

// Shown only while the column is wider than the room for it.
void DBGrid::syncHorizontalBar()
{
    QScrollBar *across = horizontalScrollBar();
    across->setRange(0, std::max(0, cellGeometry().contentWidth() - viewport()->width()));
    across->setPageStep(viewport()->width());
}

// The bar runs over the whole result: from record 1 to the record count, the
// thumb as long as the rows shown, at the current record. A single record
// needs no bar.
void DBGrid::syncVerticalBar(store::RecordSet *open)
{
    const int count = open ? open->recordCount() : 0;
    if (count > 1) {
        QScopedValueRollback syncing(m_syncingBar, true);
        QScrollBar *bar = verticalScrollBar();
        bar->setRange(1, count);
        bar->setPageStep(visibleRows());
        bar->setValue(open->recordNumber());
    }
    if (!open && verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
        // A result is closed mostly to open the next one at once, as a search
        // does: taking the bar away now and back a moment later would lay out
        // and paint the grid and what lies under the bar twice for nothing.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!openRecords())
                    showVerticalBar(false);
            },
            Qt::QueuedConnection);
        return;
    }
    showVerticalBar(count > 1);
}

void DBGrid::showVerticalBar(bool shown)
{
    const Qt::ScrollBarPolicy wanted = shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != wanted)
        setVerticalScrollBarPolicy(wanted);
}

// A hidden scroll area does not lay out its bars when their policy changes,
// and nothing lays them out when it is shown again: a search or a reset run
// from the search page would leave the bar of the previous result behind.
void DBGrid::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    QEvent layout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &layout);
}

void DBGrid::updateRow(int row)
{
    if (row >= 0 && row < rowCount())
        viewport()->update(cellGeometry().rowBand(row, viewport()->width()));
}

// Rows follow the font, read only when the geometry is next needed: the font
// a grid is created with is seldom the one its window gives it a moment later,
// and reading a font's metrics costs a font engine of its own.
void DBGrid::updateFonts()
{
    m_fontsRead = false;
}

GridGeometry &DBGrid::cellGeometry() const
{
    if (!m_fontsRead) {
        QFont title = font();
        title.setBold(true);
        m_geometry.setFonts(font(), title);
        m_fontsRead = true;
    }
    return m_geometry;
}

// The table's child 0 is the column's title; row r is child r + 1.
void DBGrid::announceRows()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent changed(this, QAccessibleTableModelChangeEvent::DataChanged);
    changed.setFirstRow(0);
    changed.setLastRow(rowCount() - 1);
    QAccessible::updateAccessibility(&changed);
    announceMark();
}

void DBGrid::announceMark()
{
    const int current = currentRow();
    if (!QAccessible::isActive() || current < 0)
        return;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(current + 1);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current + 1);
        QAccessible::updateAccessibility(&focus);
    }
}

void DBGrid::announceReleased()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

// ---------------------------------------------------------------- input

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    if (!isGridKey(*event)) {
        event->ignore();
        return;
    }
    if (store::RecordSet *open = openRecords())
        shell::guarded([&] { runKey(*open, *event); });
}

void DBGrid::runKey(store::RecordSet &records, const QKeyEvent &event)
{
    const GridMove move = moveForKey(event, records.currentRow(), visibleRows());
    switch (move.kind) {
    case GridMove::By:
        records.moveBy(move.distance);
        break;
    case GridMove::First:
        records.first();
        break;
    case GridMove::Last:
        records.last();
        break;
    case GridMove::None:
        break;
    }
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (!hasFocus())
        return;
    const QPoint point = event->position().toPoint();
    const GridGeometry::Hit hit = cellGeometry().hitTest(point, rowCount());
    const bool left = event->button() == Qt::LeftButton;
    switch (hit.area) {
    case GridGeometry::Area::Indicator:
    case GridGeometry::Area::Cell:
        if (store::RecordSet *open = openRecords())
            shell::guarded([&] { open->moveBy(hit.row - open->currentRow()); });
        break;
    case GridGeometry::Area::ColumnEdge:
        if (left)
            m_resizeGrab = point.x() - cellGeometry().columnEdge();
        break;
    case GridGeometry::Area::Title:
        if (left) {
            m_titleHeld = true;
            setTitleLook(true, true);
        }
        break;
    default:
        break;
    }
}

void DBGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_resizeGrab) {
        setColumnWidth(point.x() - *m_resizeGrab - cellGeometry().columnLeft());
        return;
    }
    const GridGeometry::Area area = cellGeometry().hitTest(point, rowCount()).area;
    if (area == GridGeometry::Area::ColumnEdge)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    const bool overTitle = area == GridGeometry::Area::Title;
    setTitleLook(overTitle, overTitle && m_titleHeld);
}

void DBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Releasing over the title is a title click, which does nothing here.
    m_resizeGrab.reset();
    m_titleHeld = false;
    setTitleLook(m_titleHot, false);
}

// The first click of the pair has already acted as a single click; the
// second one only reports the double-click.
void DBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    else
        mousePressEvent(event);
}

void DBGrid::wheelEvent(QWheelEvent *event)
{
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder -= notches * QWheelEvent::DefaultDeltasPerStep;
    // A notch away from the user goes one record back, towards the user one on.
    if (store::RecordSet *open = openRecords()) {
        shell::guarded([&] {
            for (int notch = 0; notch < std::abs(notches); ++notch)
                open->moveBy(notches > 0 ? -1 : 1);
        });
    }
}

void DBGrid::onScrollAction(int action)
{
    store::RecordSet *open = openRecords();
    // Dragging the thumb moves nothing until it is released.
    if (!open || action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction)
        return;
    shell::guarded([&] {
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: // to the record just above the top row
            open->moveBy(-(open->currentRow() + 1));
            break;
        case QAbstractSlider::SliderSingleStepAdd: // to the record just below the last row
            open->moveBy(open->windowCount() - open->currentRow());
            break;
        case QAbstractSlider::SliderPageStepSub:
            open->moveBy(-visibleRows());
            break;
        case QAbstractSlider::SliderPageStepAdd:
            open->moveBy(visibleRows());
            break;
        case QAbstractSlider::SliderToMinimum:
            open->first();
            break;
        case QAbstractSlider::SliderToMaximum:
            open->last();
            break;
        }
        // The bar had already stepped its thumb; a move that ran against an
        // end sends no notification to put it back.
        syncVerticalBar(open);
    });
}

void DBGrid::goToThumb()
{
    store::RecordSet *open = openRecords();
    if (!open)
        return;
    shell::guarded([&] {
        const int position = verticalScrollBar()->value();
        if (position <= 1)
            open->first();
        else if (position >= open->recordCount())
            open->last();
        else
            open->goToRecord(position);
        syncVerticalBar(open);
    });
}

void DBGrid::setTitleLook(bool hot, bool pressed)
{
    if (hot == m_titleHot && pressed == m_titlePressed)
        return;
    m_titleHot = hot;
    m_titlePressed = pressed;
    viewport()->update(cellGeometry().titleRect());
}

bool DBGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        setTitleLook(false, false);
    return QAbstractScrollArea::viewportEvent(event);
}

bool DBGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void DBGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    updateRow(m_markedRow); // the current cell takes the selection colours
}

void DBGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    updateRow(m_markedRow);
}

// The grid has no context menu, and none of its parents' may stand in for one.
void DBGrid::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}

void DBGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    reload();
}

void DBGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateFonts();
        reload();
    }
}

// Only the horizontal bar scrolls pixels; the vertical one moves the record set.
void DBGrid::scrollContentsBy(int dx, int)
{
    if (dx == 0)
        return;
    cellGeometry().setHorizontalOffset(horizontalScrollBar()->value());
    viewport()->update();
}

// ---------------------------------------------------------------- painting

void DBGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const GridGeometry &geometry = cellGeometry();
    // Selection colours and the focus rectangle only while the grid has the
    // focus; otherwise the arrow alone marks the current record. The blank
    // row of an empty result has no record and so shows nothing at all.
    const store::RecordSet *open = openRecords();
    const bool hasRecord = open && !open->isEmpty();
    const GridLook look{m_titleHot, m_titlePressed, m_markedRow,
                        hasRecord && hasFocus() ? m_markedRow : -1, lineThickness()};
    GridPainter parts(painter, *this, geometry, look);
    const int width = viewport()->width();
    const int rows = rowCount();
    const int top = geometry.rowsTop();
    for (const QRect &dirty : event->region()) {
        if (dirty.top() < top)
            parts.paintTitleRow(width, columnTitle());
        const int first = (std::max(dirty.top(), top) - top) / geometry.rowPitch();
        const int last = std::min(rows - 1, (dirty.bottom() - top) / geometry.rowPitch());
        if (dirty.bottom() >= top && first <= last)
            parts.paintRows(first, last, width, [this](int row) { return rowText(row); });
    }
    const int below = geometry.rowTop(rows);
    if (event->rect().bottom() >= below)
        painter.fillRect(0, below, width, viewport()->height() - below, palette().base());
}

bool DBGrid::event(QEvent *event)
{
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint)
        paintFrame();
    return handled;
}

// The style strokes the frame along the grid's very edge. At a fractional
// density that stroke can fall on a screen pixel just outside the grid's
// rounded area, and the frame is missing on that side (above the title row
// at 1.25, left of it at 1.5, below and right of the rows at both). One whole
// pixel filled along each edge always keeps a screen pixel inside the grid.
void DBGrid::paintFrame()
{
    if (frameWidth() == 0)
        return;
    QPainter painter(this);
    const QRect frame = frameRect();
    const QColor line = palette().color(QPalette::Mid);
    painter.fillRect(frame.left(), frame.top(), frame.width(), 1, line);
    painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, line);
    painter.fillRect(frame.left(), frame.top(), 1, frame.height(), line);
    painter.fillRect(frame.right(), frame.top(), 1, frame.height(), line);
}

// A grid line is one pixel at 96 dpi. At a fractional density a line of one
// scaled pixel would cover one or two screen pixels depending on where it
// falls; a whole number of screen pixels that fits inside the scaled pixel
// keeps every line equally thin and clear of the cells around it.
qreal DBGrid::lineThickness() const
{
    const qreal ratio = devicePixelRatioF();
    return std::max<qreal>(1, std::floor(ratio)) / ratio;
}

} // namespace ui
