#pragma once

#include <QAccessibleWidget>

#include <array>

namespace ui {

class StatusBar;

// The status bar as assistive technology sees it: a status bar whose panels
// are its children, each a read-only text. The panels are made when first
// asked for and kept under their accessibility ids for the bar's lifetime,
// so a screen reader keeps talking to the same objects.
//
// A new hint or exit text in panel 0 is announced as a change of name; the
// clock in panel 1 is read when asked and never announced, so its tick does
// not interrupt the listener every second.
class StatusBarAccessible final : public QAccessibleWidget {
public:
    explicit StatusBarAccessible(StatusBar *bar);
    ~StatusBarAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    StatusBar *bar() const;
    void panelChanged(int panel);

    mutable std::array<QAccessible::Id, 2> m_panels{};
    QMetaObject::Connection m_link;
};

} // namespace ui
