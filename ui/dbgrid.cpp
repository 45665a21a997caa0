#include "dbgrid.h"

#include "datasource.h"
#include "dbgridaccessible.h"
#include "handlerguard.h"
#include "recordset.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>

namespace {

// Keys the grid owns even when they do nothing: it is read-only and has no
// editor, so typing, Enter, Insert, F2 and the like must not reach anything else.
bool isGridKey(const QKeyEvent &event)
{
    const bool chord = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_F2:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Ctrl+Tab belongs to the page control, Alt+Tab to the desktop.
        return !chord;
    default:
        return !chord && !event.text().isEmpty() && event.text().front().isPrint();
    }
}

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

DBGrid::DBGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    installGridAccessibility();
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

store::DataSource *DBGrid::dataSource() const
{
    return m_source;
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
        emit rowsReleased();
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
        emit rowsChanged();
    else
        emit markMoved();
}

// Rows may now show other records or be another number: the window is sized
// to the rows that fit and everything is drawn anew.
void DBGrid::reload()
{
    shell::guarded([this] {
        requestWindow();
        refresh();
    });
    emit rowsChanged();
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
    const Qt::ScrollBarPolicy wanted = count > 1 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != wanted)
        setVerticalScrollBarPolicy(wanted);
}

// A hidden scroll area does not lay out its bars when their policy changes,
// and nothing lays them out when it is shown again: a search or a reset run
// from the search page would leave the bar of the previous result behind.
void DBGrid::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    const Qt::ScrollBarPolicy wanted = verticalScrollBarPolicy();
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(wanted);
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
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    const int page = visibleRows();
    // Ctrl+Up and Ctrl+Page Up go to the top row, Ctrl+Down and Ctrl+Page Down
    // to the bottom one. The bottom is that of all the rows that fit, so a
    // result shorter than the grid ends on its last record, end marker set.
    const int toTop = -records.currentRow();
    const int toBottom = page - 1 - records.currentRow();
    switch (event.key()) {
    case Qt::Key_Up:
        records.moveBy(ctrl ? toTop : -1);
        break;
    case Qt::Key_PageUp:
        records.moveBy(ctrl ? toTop : -page);
        break;
    case Qt::Key_Down:
        records.moveBy(ctrl ? toBottom : 1);
        break;
    case Qt::Key_PageDown:
        records.moveBy(ctrl ? toBottom : page);
        break;
    case Qt::Key_Home:
        records.first();
        break;
    case Qt::Key_End:
        records.last();
        break;
    // Past the only column, Tab wraps to the next row and Shift+Tab to the previous one.
    case Qt::Key_Tab:
        records.moveBy(event.modifiers() & Qt::ShiftModifier ? -1 : 1);
        break;
    case Qt::Key_Backtab:
        records.moveBy(-1);
        break;
    default:
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
    const int width = viewport()->width();
    const int rows = rowCount();
    const int top = cellGeometry().rowsTop();
    for (const QRect &dirty : event->region()) {
        if (dirty.top() < top)
            paintTitleRow(painter, width);
        const int first = (std::max(dirty.top(), top) - top) / cellGeometry().rowPitch();
        const int last = std::min(rows - 1, (dirty.bottom() - top) / cellGeometry().rowPitch());
        if (dirty.bottom() >= top && first <= last)
            paintRows(painter, first, last, width);
    }
    const int below = cellGeometry().rowTop(rows);
    if (event->rect().bottom() >= below)
        painter.fillRect(0, below, width, viewport()->height() - below, palette().base());
}

void DBGrid::paintTitleRow(QPainter &painter, int width)
{
    QStyleOptionHeader header;
    header.initFrom(this);
    header.orientation = Qt::Horizontal;
    header.position = QStyleOptionHeader::OnlyOneSection;
    header.rect = cellGeometry().titleRect();
    header.state |= QStyle::State_Raised;
    if (m_titleHot)
        header.state |= QStyle::State_MouseOver;
    if (m_titlePressed)
        header.state = (header.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
    painter.fillRect(header.rect, palette().button());
    style()->drawControl(QStyle::CE_HeaderSection, &header, &painter, this);

    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::WindowText));
    // A held title's caption moves 1 px right and down.
    const int shift = m_titlePressed ? 1 : 0;
    painter.save();
    painter.setClipRect(header.rect);
    painter.drawText(header.rect.left() + 2 + shift, cellGeometry().titleBaseline() + shift, columnTitle());
    painter.restore();

    // The corner goes on top: a column scrolled to the left slides under it.
    QStyleOptionHeader corner = header;
    corner.rect = cellGeometry().cornerRect();
    corner.state = (header.state & ~(QStyle::State_MouseOver | QStyle::State_Sunken)) | QStyle::State_Raised;
    painter.fillRect(corner.rect, palette().button());
    style()->drawControl(QStyle::CE_HeaderSection, &corner, &painter, this);

    const int edge = cellGeometry().columnEdge();
    painter.fillRect(edge + 1, 0, width - edge - 1, cellGeometry().rowsTop(), palette().base());
    paintColumnLines(painter, 0, cellGeometry().rowsTop());
    paintRowLine(painter, cellGeometry().titleHeight(), edge);
}

// Rows first..last: the backgrounds and the lines in a few long strokes, then
// the titles, then the current row's marks. Painting a row costs little more
// than writing its title, which keeps whole-page moves cheap.
void DBGrid::paintRows(QPainter &painter, int first, int last, int width)
{
    const QPalette &colours = palette();
    const int top = cellGeometry().rowTop(first);
    const int height = cellGeometry().rowTop(last + 1) - top;
    const int edge = cellGeometry().columnEdge();
    painter.fillRect(0, top, width, height, colours.base());
    painter.fillRect(0, top, GridGeometry::indicatorWidth, height, colours.button());
    paintColumnLines(painter, top, height);
    for (int row = first; row <= last; ++row)
        paintRowLine(painter, cellGeometry().rowTop(row) + cellGeometry().rowHeight(), edge);

    // Titles are cut at the column's edges, on one line, without an ellipsis.
    const int fixedRight = GridGeometry::indicatorWidth + GridGeometry::lineWidth;
    painter.setClipRect(fixedRight, top, edge - fixedRight, height);
    painter.setFont(font());
    painter.setPen(colours.color(QPalette::Text));
    const QPoint text(cellGeometry().columnLeft() + 3, cellGeometry().dataBaseline());
    // Selection colours and the focus rectangle only while the grid has the
    // focus; otherwise the arrow alone marks the current record. The blank
    // row of an empty result has no record and so shows nothing at all.
    const bool marked = m_markedRow >= first && m_markedRow <= last;
    const store::RecordSet *open = openRecords();
    const bool hasRecord = open && !open->isEmpty();
    const int selected = marked && hasRecord && hasFocus() ? m_markedRow : -1;
    for (int row = first; row <= last; ++row) {
        if (row != selected)
            painter.drawText(text + QPoint(0, cellGeometry().rowTop(row)), rowText(row));
    }
    if (selected >= 0) {
        const QRect cell = cellGeometry().cellRect(selected);
        painter.fillRect(cell, colours.highlight());
        painter.setPen(colours.color(QPalette::HighlightedText));
        painter.drawText(text + QPoint(0, cell.top()), rowText(selected));
        paintFocusRect(painter, cell, colours.color(QPalette::HighlightedText));
    }
    painter.setClipping(false);
    if (marked)
        paintArrow(painter, cellGeometry().indicatorRect(m_markedRow));
}

// The lines after the indicator column and after the data column.
void DBGrid::paintColumnLines(QPainter &painter, int top, int height)
{
    const QColor line = palette().color(QPalette::Mid);
    const qreal thickness = lineThickness();
    painter.fillRect(QRectF(GridGeometry::indicatorWidth, top, thickness, height), line);
    painter.fillRect(QRectF(cellGeometry().columnEdge(), top, thickness, height), line);
}

void DBGrid::paintRowLine(QPainter &painter, int y, int width)
{
    painter.fillRect(QRectF(0, y, width, lineThickness()), palette().color(QPalette::Mid));
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
