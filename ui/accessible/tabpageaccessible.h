#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <QTabWidget>

namespace ui {

// A page of a page control: a pane named by its tab's caption, so a screen
// reader that enters the page says which one it is.
class TabPageAccessible final : public QAccessibleWidget {
public:
    TabPageAccessible(QWidget *page, const QTabWidget *tabs);

    QString text(QAccessible::Text type) const override;

    // The page control whose page this widget is, if it is one.
    static const QTabWidget *pageControlOf(const QWidget *widget);

private:
    QPointer<const QTabWidget> m_tabs;
};

} // namespace ui
