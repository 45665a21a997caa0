#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <optional>

class QAction;
class QMenu;
class QMenuBar;

namespace ui {

// A hint is declared as the dynamic property "hint" of a widget, a menu or a
// menu item: a short part for the tooltip and a long part for the status bar,
// split at the first vertical bar; without a bar the whole text is both.
QString hintOf(const QObject *owner);
QString shortPart(const QString &hint);
QString longPart(const QString &hint);

// The one current hint of the application: the long part of the hint of the
// control under the pointer (walking up to its parents), or of the
// highlighted menu item while a menu is open. Only changes are delivered.
class HintDisplay final : public QObject {
    Q_OBJECT
public:
    explicit HintDisplay(QObject *parent = nullptr);

    // Menu items report their hints as they are highlighted; a closing menu empties the hint.
    void watchMenus(QMenuBar *menuBar);

    // Looks at what is under the pointer now. Runs after input has been
    // handled and at every clock tick; not while a menu or a message box is open.
    void refresh();

    QString current() const { return m_current; }
    QWidget *hovered() const { return m_hovered; }

    // The innermost of our widgets under a global position, or null.
    static QWidget *widgetAt(const QPoint &globalPosition);

signals:
    void hintChanged(const QString &longPart);
    // The control under the pointer changed (null: none of ours).
    void hoveredChanged(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Where the pointer entered a window while nothing newer is known (no
    // move since, the platform's cursor position unchanged), or else the
    // platform's cursor position.
    QPoint pointerPosition() const;
    void setCurrent(const QString &text);
    void watchMenu(QMenu *menu);

    QString m_current;
    QPointer<QWidget> m_hovered;
    // Where the pointer is, from the windows' enter, leave and move events:
    // Wayland tells a client no pointer position outside its windows, and
    // QCursor::pos() stays where the pointer left. Until a window reports
    // anything, the pointer's position alone decides.
    QPointer<QWidget> m_pointerIn;
    // Where the pointer entered a window, and the platform's cursor
    // position then; forgotten when the pointer moves or leaves.
    struct Entered {
        QPoint at;
        QPoint cursorThen;
    };
    std::optional<Entered> m_entered;
    bool m_pointerOutside = false;
    QTimer m_afterInput;
};

} // namespace ui
