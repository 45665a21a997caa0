#include "forms/Unit2.h"

#include "forms/designproperties.h"
#include "look/textmetrics.h"
#include "platform/windowframe.h"

#include <QKeyEvent>
#include <QWindow>
#include <QShowEvent>

TForm2::TForm2(store::DataSource &source, QWidget *owner) : m_owner(owner)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    platform::frameFixedWindow(*this);

    BindSourceDB1 = new ui::BindSource(source, this);
    LinkControlToField1 = new ui::LinkControlToField(*BindSourceDB1, QStringLiteral("VERS"), Memo1);
    LinkPropertyToFieldCaption = new ui::LinkPropertyToField(*BindSourceDB1, QStringLiteral("CIM"),
                                                             Label1, "text");
    DBNavigator1->setDataSource(&source);
    Memo1->installEventFilter(this);
}

void TForm2::applyDesign()
{
    ui::applyDesignProperties(this);
    // The title's first line stands where the layout's platform puts it,
    // which leaves room above its accented capitals (Á, Ő).
    Label1->setContentsMargins(0, ui::baselineShortfall(Label1->font()), 0, 0);
}

void TForm2::showEvent(QShowEvent *event)
{
    // The window is created while the main window is still to appear, and its
    // pixel font heights would each cost a font engine then: the rest of its
    // design is applied when it is first shown, before it is first painted.
    if (!m_designApplied) {
        m_designApplied = true;
        applyDesign();
    }
    // The text box was left behind while the window was hidden.
    LinkControlToField1->catchUp();
    // Tied to its owner's window before it is mapped, so that the window
    // system keeps it above its owner: a Wayland compositor knows of no
    // other tie (X11 has the program's hidden leader window). It stays a
    // window of its own among the widgets, with its own font and palette.
    if (m_owner && windowHandle())
        windowHandle()->setTransientParent(m_owner->window()->windowHandle());
    // Centred once, on the work area of the window's own monitor; after that
    // the window reopens wherever it was when last closed.
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        platform::centreOnScreen(*this, screen());
    }
    QDialog::showEvent(event);
}

void TForm2::changeEvent(QEvent *event)
{
    // The text box is the window's only control for the keyboard.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Memo1->setFocus(Qt::ActiveWindowFocusReason);
    QDialog::changeEvent(event);
}

void TForm2::keyPressEvent(QKeyEvent *event)
{
    // A dialog closes on Esc by default; this one closes only by its close box.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    // A read-only text box pages on the space bar; here a typed character,
    // the space included, changes nothing at all.
    if (watched == Memo1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space)
        return true;
    return QDialog::eventFilter(watched, event);
}
