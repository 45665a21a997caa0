#include "platform/common/drawntitlebar.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// Sizes at 96 dpi, scaled with the rest of the window.
constexpr int barHeight = 30;
constexpr int frameWidth = 1;
constexpr int buttonSize = 24;
constexpr int buttonGap = 2;
constexpr int iconSize = 16;
constexpr int titleIndent = 8;
constexpr double glyphSize = 10;

enum class Glyph { minimise, maximise, close };

// The bar across the top of the window: its title, its icon where it is a
// main window (dialogs show none), its buttons and its window menu, which
// offer the same commands. The colours tell the active window from the
// others.
class DrawnTitleBar final : public QWidget {
public:
    DrawnTitleBar(QWidget &window, Qt::WindowFlags flags);

    QColor background() const
    {
        return m_window.isActiveWindow() ? palette().color(QPalette::Active, QPalette::Highlight)
                                         : palette().color(QPalette::Active, QPalette::Mid);
    }
    QColor foreground() const
    {
        return m_window.isActiveWindow() ? palette().color(QPalette::Active, QPalette::HighlightedText)
                                         : palette().color(QPalette::Active, QPalette::Light);
    }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    // The window's size is fixed: a double-click on the title does nothing
    // (QWidget would take it for a second press).
    void mouseDoubleClickEvent(QMouseEvent *event) override { event->accept(); }

private:
    QAction *addCommand(const QString &name, Glyph glyph, QHBoxLayout &row);
    bool showsIcon() const { return m_isMainWindow && !m_window.windowIcon().isNull(); }
    QRect iconPlace() const { return {titleIndent, (height() - iconSize) / 2, iconSize, iconSize}; }
    void showMenu(const QPoint &globalPosition) { m_menu->popup(globalPosition); }

    QWidget &m_window;
    QMenu *m_menu;
    QWidget *m_firstButton = nullptr;
    bool m_isMainWindow;
};

// A title-bar button of one of the bar's commands: it shows the command's
// name to the screen reader and as its tooltip, and is enabled as it is.
class TitleBarButton final : public QAbstractButton {
public:
    TitleBarButton(QAction &command, Glyph glyph, DrawnTitleBar &bar)
        : QAbstractButton(&bar), m_glyph(glyph), m_bar(bar)
    {
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(buttonSize, buttonSize);
        setAttribute(Qt::WA_Hover);
        setAccessibleName(command.text());
        setToolTip(command.text());
        setEnabled(command.isEnabled());
        connect(this, &QAbstractButton::clicked, &command, &QAction::trigger);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (isEnabled() && (underMouse() || isDown())) {
            const QColor hovered = m_glyph == Glyph::close ? QColor(0xc4, 0x2b, 0x1c) : m_bar.background().lighter(125);
            painter.fillRect(rect(), isDown() ? hovered.darker(115) : hovered);
        }
        QColor ink = m_bar.foreground();
        if (!isEnabled())
            ink.setAlphaF(0.4);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ink, 1.5));
        QRectF box(0, 0, glyphSize, glyphSize);
        box.moveCenter(QRectF(rect()).center());
        switch (m_glyph) {
        case Glyph::minimise:
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            break;
        case Glyph::maximise:
            painter.drawRect(box);
            break;
        case Glyph::close:
            painter.drawLine(box.topLeft(), box.bottomRight());
            painter.drawLine(box.topRight(), box.bottomLeft());
            break;
        }
    }

private:
    Glyph m_glyph;
    const DrawnTitleBar &m_bar;
};

DrawnTitleBar::DrawnTitleBar(QWidget &window, Qt::WindowFlags flags)
    : QWidget(&window), m_window(window), m_menu(new QMenu(this)),
      m_isMainWindow((flags & Qt::WindowType_Mask) == Qt::Window)
{
    setObjectName(QStringLiteral("drawnTitleBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    auto *row = new QHBoxLayout(this);
    const int margin = (barHeight - buttonSize) / 2;
    row->setContentsMargins(0, margin, margin, margin);
    row->setSpacing(buttonGap);
    row->addStretch();
    // As a fixed-size window with a minimise box shows it: maximise beside
    // it, disabled.
    if (flags.testFlag(Qt::WindowMinimizeButtonHint)) {
        connect(addCommand(QStringLiteral("Kis méret"), Glyph::minimise, *row), &QAction::triggered, &window,
                &QWidget::showMinimized);
        addCommand(QStringLiteral("Teljes méret"), Glyph::maximise, *row);
    }
    if (flags.testFlag(Qt::WindowCloseButtonHint)) {
        if (!m_menu->isEmpty())
            m_menu->addSeparator();
        QAction *close = addCommand(QStringLiteral("Bezárás"), Glyph::close, *row);
        // Closed as by the window system: the window's close handler decides.
        connect(close, &QAction::triggered, &window, &QWidget::close);
        // The keys a window manager would take, for a compositor that
        // leaves them to the window (one that takes them sends a close).
        close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
        window.addAction(close);
    }
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Space));
    connect(menuKey, &QAction::triggered, this, [this] { showMenu(mapToGlobal(rect().bottomLeft())); });
    window.addAction(menuKey);
}

// A command of the window menu with its button on the bar. Maximise stays
// disabled: the window's size is fixed.
QAction *DrawnTitleBar::addCommand(const QString &name, Glyph glyph, QHBoxLayout &row)
{
    QAction *command = m_menu->addAction(name);
    command->setEnabled(glyph != Glyph::maximise);
    auto *button = new TitleBarButton(*command, glyph, *this);
    row.addWidget(button);
    if (!m_firstButton)
        m_firstButton = button;
    return command;
}

void DrawnTitleBar::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::RightButton) {
        showMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (showsIcon() && iconPlace().contains(event->position().toPoint()))
        showMenu(mapToGlobal(iconPlace().bottomLeft()));
    // The compositor moves the window from here on, following the pointer.
    else if (m_window.windowHandle())
        m_window.windowHandle()->startSystemMove();
}

void DrawnTitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background());
    int left = titleIndent;
    if (showsIcon()) {
        m_window.windowIcon().paint(&painter, iconPlace());
        left = iconPlace().right() + 1 + titleIndent / 2;
    }
    const int right = m_firstButton ? m_firstButton->geometry().left() - titleIndent : width() - titleIndent;
    const QRect titleArea(left, 0, std::max(0, right - left), height());
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(foreground());
    const QString title = painter.fontMetrics().elidedText(m_window.windowTitle(), Qt::ElideRight, titleArea.width());
    painter.drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
}

// Keeps the bar across the top of the window, above the room the window's
// contents margins leave for it, draws the frame line around the window,
// and repaints the bar when the window's title, icon or activation changes.
class OwnFrame final : public QObject {
public:
    explicit OwnFrame(QWidget &window) : QObject(&window), m_window(window)
    {
        const Qt::WindowFlags flags = window.windowFlags();
        window.setWindowFlag(Qt::FramelessWindowHint);
        makeRoom(window);
        m_bar = new DrawnTitleBar(window, flags);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_window)
            return false;
        switch (event->type()) {
        case QEvent::Resize:
            m_bar->setGeometry(frameWidth, frameWidth, m_window.width() - 2 * frameWidth, barHeight);
            break;
        case QEvent::ActivationChange:
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
            m_bar->update();
            break;
        case QEvent::Paint: {
            QPainter painter(&m_window);
            painter.setPen(m_window.palette().color(QPalette::Dark));
            painter.drawRect(m_window.rect().adjusted(0, 0, -1, -1));
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    // The room for the bar and the frame line comes off the window's
    // contents margins, which its layout keeps free; a window whose
    // controls stand where they were put grows by it, and they move down.
    static void makeRoom(QWidget &window)
    {
        const QMargins room(frameWidth, frameWidth + barHeight, frameWidth, frameWidth);
        window.setContentsMargins(room);
        if (window.layout())
            return;
        for (QWidget *child : window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            child->move(child->pos() + QPoint(room.left(), room.top()));
        if (window.minimumSize() == window.maximumSize())
            window.setFixedSize(window.minimumSize().grownBy(room));
        else
            window.resize(window.size().grownBy(room));
    }

    QWidget &m_window;
    DrawnTitleBar *m_bar;
};

} // namespace

void drawOwnTitleBar(QWidget &window)
{
    new OwnFrame(window);
}

} // namespace platform
