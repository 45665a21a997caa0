#pragma once

#include <QScrollBar>

namespace ui {

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

} // namespace ui
