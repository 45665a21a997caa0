#include "accessible/installer.h"

#include "accessible/dbgridaccessible.h"
#include "accessible/linklabelaccessible.h"
#include "accessible/statusbaraccessible.h"
#include "accessible/tabpageaccessible.h"
#include "widgets/dbgrid.h"
#include "widgets/linklabel.h"
#include "widgets/statusbar.h"

namespace ui {

namespace {

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (auto *grid = qobject_cast<DBGrid *>(object))
        return new DBGridAccessible(grid);
    if (auto *bar = qobject_cast<StatusBar *>(object))
        return new StatusBarAccessible(bar);
    if (auto *label = qobject_cast<LinkLabel *>(object))
        return new LinkLabelAccessible(label);
    if (className == QLatin1String("QWidget") && object->isWidgetType()) {
        auto *page = static_cast<QWidget *>(object);
        if (const QTabWidget *tabs = TabPageAccessible::pageControlOf(page))
            return new TabPageAccessible(page, tabs);
    }
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ui
