#pragma once

#include <QString>
#include <QWidget>

#include <array>

namespace ui {

// A status bar of two sunken panels. Panel 0 has a fixed width; the last
// panel always reaches the right edge, whatever width it declares.
class StatusBar final : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    static constexpr int panelCount = 2;

    // Writes a panel's text; repaints only when the text really changes.
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const { return m_texts.at(size_t(panel)); }
    QRect panelRect(int panel) const;

signals:
    // A panel's text really changed (for assistive technology).
    void panelTextChanged(int panel);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<QString, panelCount> m_texts;
    std::array<int, panelCount> m_widths{500, 200};
    std::array<Qt::Alignment, panelCount> m_alignments{Qt::AlignLeft, Qt::AlignHCenter};
};

} // namespace ui
