#include "accessible/tabpageaccessible.h"

#include <QRegularExpression>
#include <QStackedWidget>

namespace ui {

TabPageAccessible::TabPageAccessible(QWidget *page, const QTabWidget *tabs)
    : QAccessibleWidget(page, QAccessible::Pane), m_tabs(tabs)
{
}

QString TabPageAccessible::text(QAccessible::Text type) const
{
    if (type != QAccessible::Name || !m_tabs)
        return QAccessibleWidget::text(type);
    // The caption without its access-key marks ("&&" stays one "&").
    static const QRegularExpression accessMark(QStringLiteral("&(.)"));
    return m_tabs->tabText(m_tabs->indexOf(widget())).replace(accessMark, QStringLiteral("\\1"));
}

const QTabWidget *TabPageAccessible::pageControlOf(const QWidget *widget)
{
    const auto *stack = qobject_cast<const QStackedWidget *>(widget->parentWidget());
    return stack ? qobject_cast<const QTabWidget *>(stack->parentWidget()) : nullptr;
}

} // namespace ui
