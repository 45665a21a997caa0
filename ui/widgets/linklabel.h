#pragma once

#include <QLabel>

namespace ui {

// A label that acts as a link: a press and a release of the left button
// within the label, anywhere in its rectangle, is a click. A double-click
// adds no second click.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace ui
