#pragma once

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>

class QAbstractButton;

namespace store {
class DataSource;
} // namespace store

namespace ui {

// A bar of buttons that move the cursor of the record set behind a data
// source to the first, the previous, the next and the last record. It is a
// view of the shared cursor like the title grid: every notification of the
// record set recomputes which buttons can act, so moves made elsewhere show
// here at once.
//
// The bar is worked with the mouse only: no button takes the keyboard focus,
// and holding down prior or next repeats the move.
class DBNavigator final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList hints READ hints WRITE setHints)
public:
    // Every button a navigator can have, in the order of its hint list. This
    // bar only browses, so only the first four are built.
    enum Button {
        First,
        Prior,
        Next,
        Last,
        Insert,
        Delete,
        Edit,
        Post,
        Cancel,
        Refresh,
        ApplyUpdates,
        CancelUpdates,
    };
    Q_ENUM(Button)
    static constexpr int visibleButtons = 4;
    static constexpr int repeatDelayMs = 400;
    static constexpr int repeatIntervalMs = 100;

    explicit DBNavigator(QWidget *parent = nullptr);

    void setDataSource(store::DataSource *source);

    // One entry per possible button; an entry that is not empty replaces
    // that button's built-in hint (the "hint" property of the button).
    QStringList hints() const { return m_hints; }
    void setHints(const QStringList &hints);

    QAbstractButton *button(Button which) const { return m_buttons.at(which); }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateButtons();
    void perform(Button which);
    void startRepeating(Button which);
    void repeat();

    QPointer<store::DataSource> m_source;
    QStringList m_hints;
    std::array<QAbstractButton *, visibleButtons> m_buttons{};
    QTimer m_repeat;
    Button m_held = First;
};

} // namespace ui
