#include "accessibility.h"

#include "linklabel.h"
#include "linklabelaccessible.h"
#include "statusbar.h"
#include "statusbaraccessible.h"

#include <QAccessibleWidget>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

// A page of a page control: a pane named by its tab's caption, so a screen
// reader that enters the page says which one it is.
class TabPageAccessible final : public QAccessibleWidget {
public:
    TabPageAccessible(QWidget *page, const QTabWidget *tabs) : QAccessibleWidget(page, QAccessible::Pane), m_tabs(tabs) {}

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Name || !m_tabs)
            return QAccessibleWidget::text(type);
        // The caption without its access-key marks ("&&" stays one "&").
        static const QRegularExpression accessMark(QStringLiteral("&(.)"));
        return m_tabs->tabText(m_tabs->indexOf(widget())).replace(accessMark, QStringLiteral("\\1"));
    }

private:
    QPointer<const QTabWidget> m_tabs;
};

const QTabWidget *pageControlOf(const QWidget *widget)
{
    const auto *stack = qobject_cast<const QStackedWidget *>(widget->parentWidget());
    return stack ? qobject_cast<const QTabWidget *>(stack->parentWidget()) : nullptr;
}

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (auto *bar = qobject_cast<StatusBar *>(object))
        return new StatusBarAccessible(bar);
    if (auto *label = qobject_cast<LinkLabel *>(object))
        return new LinkLabelAccessible(label);
    if (className == QLatin1String("QWidget") && object->isWidgetType()) {
        auto *page = static_cast<QWidget *>(object);
        if (const QTabWidget *tabs = pageControlOf(page))
            return new TabPageAccessible(page, tabs);
    }
    return nullptr;
}

} // namespace

namespace ui {

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ui
