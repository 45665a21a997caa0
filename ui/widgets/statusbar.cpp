#include "widgets/statusbar.h"

#include <QPainter>
#include <qdrawutil.h>
#include <QStyle>
#include <QStyleOptionFrame>

namespace ui {

StatusBar::StatusBar(QWidget *parent) : QWidget(parent)
{
    // The status bar keeps the desktop's own font, not the window's.
    setFont(QFont());
    setAttribute(Qt::WA_SetFont, false);
    setFocusPolicy(Qt::NoFocus);
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    QString &current = m_texts.at(size_t(panel));
    if (current == text)
        return;
    current = text;
    update(panelRect(panel));
    emit panelTextChanged(panel);
}

QRect StatusBar::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += m_widths.at(size_t(i));
    const int right = panel == panelCount - 1 ? width() : left + m_widths.at(size_t(panel));
    return QRect(left, 0, std::max(0, right - left), height());
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    for (int panel = 0; panel < panelCount; ++panel) {
        const QRect area = panelRect(panel).adjusted(0, 2, -2, 0);
        qDrawShadePanel(&painter, area, palette(), true, 1);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(area.adjusted(3, 0, -3, 0),
                         int(m_alignments.at(size_t(panel)) | Qt::AlignVCenter) | Qt::TextSingleLine,
                         m_texts.at(size_t(panel)));
    }
}

} // namespace ui
