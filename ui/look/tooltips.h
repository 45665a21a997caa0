#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ui {

class HintDisplay;

// Whether a control shows its hint's short part as a tooltip: its own
// "showHint" property when it sets one ("parentShowHint" false), otherwise
// its parent's, up to the window, whose default is off.
bool showsTooltips(const QWidget *control);

// Our own tooltips, in place of Qt's: shown below the pointer after it has
// rested on a control for the wake-up delay, hidden after the display time,
// on any key, button or wheel action, or when the pointer leaves. Once one
// has been shown, moving straight onto another tooltip control shows that
// one at once. Only while one of our windows is active.
class TooltipController final : public QObject {
    Q_OBJECT
public:
    explicit TooltipController(HintDisplay &hints, QObject *parent = nullptr);

    static constexpr int wakeUpDelayMs = 500;
    static constexpr int displayTimeMs = 2500;

    bool isShowing() const;
    QString shownText() const { return m_shownText; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hover(QWidget *control);
    void show();
    void hide();
    void forgetInstantMode();

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_shownFor;
    QString m_shownText;
    bool m_instant = false;
    QTimer m_wakeUp;
    QTimer m_expiry;
};

} // namespace ui
