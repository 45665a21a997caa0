#include "widgets/recordscrollbar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace ui {

// A repaint already pending paints the thumb where it is by then.
void RecordScrollBar::sliderChange(SliderChange change)
{
    if (change != SliderValueChange || atEnd() || m_paintedAtEnd)
        return QScrollBar::sliderChange(change);
    const QRect thumb = thumbRect();
    if (thumb == m_paintedThumb)
        return;
    // Styles draw the thumb's border and shadow a little outside its rectangle.
    constexpr int margin = 3;
    const QRect moved = thumb.united(m_paintedThumb);
    update(0, moved.top() - margin, width(), moved.height() + 2 * margin);
}

void RecordScrollBar::paintEvent(QPaintEvent *event)
{
    m_paintedThumb = thumbRect();
    m_paintedAtEnd = atEnd();
    QScrollBar::paintEvent(event);
}

QRect RecordScrollBar::thumbRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

} // namespace ui
