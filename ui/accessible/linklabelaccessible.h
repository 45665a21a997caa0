#pragma once

#include <QAccessibleWidget>

namespace ui {

class LinkLabel;

// A link label as assistive technology sees it: a link named by its text,
// described by its hint, whose one action opens its address. The label takes
// no keyboard focus, so the action is how a screen reader user follows it.
class LinkLabelAccessible final : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel *label);

    QString text(QAccessible::Text type) const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    LinkLabel *label() const;
};

} // namespace ui
