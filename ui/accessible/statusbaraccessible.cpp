#include "accessible/statusbaraccessible.h"

#include "accessible/readonlytextinterface.h"
#include "widgets/statusbar.h"

#include <QPointer>
#include <QWindow>

#include <algorithm>

namespace ui {

namespace {

// One panel of the bar: it holds no text of its own but reads the bar's.
class StatusPanelAccessible final : public QAccessibleInterface, public ui::ReadOnlyTextInterface {
public:
    StatusPanelAccessible(StatusBar *bar, int panel) : m_bar(bar), m_panel(panel) {}

    int panel() const { return m_panel; }
    const StatusBar *bar() const { return m_bar; }

    bool isValid() const override { return !m_bar.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_bar.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text type) const override { return type == QAccessible::Name ? content() : QString(); }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!m_bar)
            return {};
        const QRect local = m_bar->panelRect(m_panel);
        return QRect(m_bar->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_bar || !m_bar->isVisible();
        state.invalid = !m_bar;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this) : nullptr;
    }

    QString content() const override { return m_bar ? m_bar->panelText(m_panel) : QString(); }

private:
    QPointer<StatusBar> m_bar;
    int m_panel;
};

// The panel that shows the hints and the exit question's text.
constexpr int announcedPanel = 0;

} // namespace

StatusBarAccessible::StatusBarAccessible(StatusBar *bar) : QAccessibleWidget(bar, QAccessible::StatusBar)
{
    static_assert(std::tuple_size_v<decltype(m_panels)> == StatusBar::panelCount);
    m_link = QObject::connect(bar, &StatusBar::panelTextChanged, bar, [this](int panel) { panelChanged(panel); });
}

// Runs also while the bar itself is being destroyed: it touches only the panels.
StatusBarAccessible::~StatusBarAccessible()
{
    QObject::disconnect(m_link);
    for (QAccessible::Id id : m_panels)
        if (id)
            QAccessible::deleteAccessibleInterface(id);
}

StatusBar *StatusBarAccessible::bar() const
{
    return static_cast<StatusBar *>(widget());
}

int StatusBarAccessible::childCount() const
{
    return StatusBar::panelCount;
}

// Never null, also for an index out of range: Qt's bridge does not check.
QAccessibleInterface *StatusBarAccessible::child(int index) const
{
    const int panel = std::clamp(index, 0, StatusBar::panelCount - 1);
    QAccessible::Id &id = m_panels.at(size_t(panel));
    if (QAccessibleInterface *kept = id ? QAccessible::accessibleInterface(id) : nullptr)
        return kept;
    auto *made = new StatusPanelAccessible(bar(), panel);
    id = QAccessible::registerAccessibleInterface(made);
    return made;
}

int StatusBarAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *panel = dynamic_cast<const StatusPanelAccessible *>(child);
    return panel && panel->bar() == bar() ? panel->panel() : -1;
}

QAccessibleInterface *StatusBarAccessible::childAt(int x, int y) const
{
    const QPoint point = bar()->mapFromGlobal(QPoint(x, y));
    for (int panel = 0; panel < StatusBar::panelCount; ++panel)
        if (bar()->panelRect(panel).contains(point))
            return child(panel);
    return nullptr;
}

void StatusBarAccessible::panelChanged(int panel)
{
    if (panel != announcedPanel || !QAccessible::isActive())
        return;
    QAccessibleEvent renamed(child(panel), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

} // namespace ui
