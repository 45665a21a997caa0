#pragma once

#include <QKeyEvent>
#include <QPainter>
#include <QStringList>
#include <QWidget>

#include <algorithm>

// The least a list of titles can do: a white background and one line of
// blue text per row, all of it painted again after every change. Down moves
// one row, Page Down one page.
class BareList final : public QWidget {
public:
    BareList(int pitch, QWidget *parent) : QWidget(parent), m_pitch(pitch)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setTitles(const QStringList &titles)
    {
        m_titles = titles;
        home();
    }

    int rowsShown() const { return height() / m_pitch; }

    void home()
    {
        m_top = 0;
        update();
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const int rows = rowsShown();
        m_top = std::max(0, std::min(m_top + (event->key() == Qt::Key_PageDown ? rows : 1),
                                     int(m_titles.size()) - rows));
        update();
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::blue);
        const int baseline = 2 + fontMetrics().ascent();
        for (int row = 0; (row + 1) * m_pitch <= height() && m_top + row < m_titles.size(); ++row)
            painter.drawText(QPoint(3, row * m_pitch + baseline), m_titles[m_top + row]);
    }

private:
    QStringList m_titles;
    int m_pitch;
    int m_top = 0;
};
