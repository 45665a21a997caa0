#include "accessible/linklabelaccessible.h"

#include "look/hintdisplay.h"
#include "widgets/linklabel.h"

namespace ui {

LinkLabelAccessible::LinkLabelAccessible(LinkLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

LinkLabel *LinkLabelAccessible::label() const
{
    return static_cast<LinkLabel *>(widget());
}

QString LinkLabelAccessible::text(QAccessible::Text type) const
{
    switch (type) {
    case QAccessible::Name:
        return label()->text();
    case QAccessible::Description:
        return ui::longPart(ui::hintOf(label()));
    default:
        return QAccessibleWidget::text(type);
    }
}

QStringList LinkLabelAccessible::actionNames() const
{
    return {pressAction()};
}

void LinkLabelAccessible::doAction(const QString &action)
{
    // Queued, so that the screen reader's call returns before the click's
    // work (the desktop's program, or an error box) starts.
    if (action == pressAction() && label()->isEnabled())
        QMetaObject::invokeMethod(label(), &LinkLabel::clicked, Qt::QueuedConnection);
}

} // namespace ui
