#include "forms/Unit1.h"

#include "forms/Unit2.h"
#include "accessible/installer.h"
#include "forms/accesskeys.h"
#include "look/carriedart.h"
#include "forms/designproperties.h"
#include "look/textmetrics.h"
#include "handlerguard.h"
#include "messageboxes.h"
#include "platform/openaddress.h"
#include "platform/windowframe.h"
#include "termination.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLayout>
#include <QShowEvent>

#include <optional>

namespace {

const QString exitStatusText = QStringLiteral("Program használatásan befejezése ?");

// The first control on a page that the Tab key would reach, or the page
// itself when none takes the focus.
QWidget *firstControlInTabOrder(QWidget *page)
{
    for (QWidget *widget = page->nextInFocusChain(); widget != page; widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus
            && widget->isVisibleTo(page) && widget->isEnabled())
            return widget;
    }
    return page;
}

// Before start-up points it at the working copy, the connection names a file
// in a folder that cannot exist ("/dev/null" is no folder), so connecting
// without a working copy always fails instead of creating an empty database.
const QString databaseBeforeStartUp = QStringLiteral("/dev/null/Vargorin/Vargorin.db");

// A guarded start-up step: a failure shows the step's fixed text, requests
// termination, and start-up carries on with the next step.
template <typename Step>
void startUpStep(const char16_t *failureText, Step &&step)
{
    try {
        step();
    } catch (const std::exception &) {
        shell::reportAndTerminate(QString::fromUtf16(failureText));
    }
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent), FDQuery1(FDConnection1), DataSource1(&FDQuery1)
{
    ui::installAccessibility();
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    platform::frameFixedWindow(*this);
    ui::assignAccessKeys(MainMenu1->actions());
    ui::applyDesignProperties(this);
    // These labels size themselves to their text.
    for (QLabel *label : {Label10, Label11, Label12})
        ui::fitToText(label);
    setWindowIcon(ui::carriedProgramIcon());
    FDConnection1.setDatabase(databaseBeforeStartUp);
    FDQuery1.setScreenCursor(m_screenCursor);
    DBGrid1->setDataSource(&DataSource1);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::focusShownPage);

    m_hintDisplay.watchMenus(MainMenu1);
    connect(&m_hintDisplay, &ui::HintDisplay::hintChanged, this,
            [this](const QString &hint) { StatusBar1->setPanelText(0, hint); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();
}

TForm1::~TForm1() = default;

QByteArray TForm1::workingCopyPath() const
{
    // A current folder the system cannot name (it was deleted, say) yields no
    // path at all rather than "/Vargorin.db" in the root folder.
    if (v_prdir.isEmpty())
        return QByteArray();
    return v_prdir + "/Vargorin.db";
}

void TForm1::selectPage(int index)
{
    PageControl1->setCurrentIndex(index);
}

void TForm1::focusShownPage(int index)
{
    // Qt has already carried a focus that was on the page left over to the
    // page shown, to the control used there last; the reader always starts
    // at the page's first control instead.
    QWidget *shown = PageControl1->widget(index);
    QWidget *focus = QApplication::focusWidget();
    if (shown && focus && (focus == shown || shown->isAncestorOf(focus)))
        firstControlInTabOrder(shown)->setFocus(Qt::TabFocusReason);
}

void TForm1::showEvent(QShowEvent *event)
{
    // The first show runs start-up before the window is mapped; minimising
    // and restoring never run it again.
    if (!m_shownBefore && !event->spontaneous()) {
        m_shownBefore = true;
        FormShow();
        centreOnPrimaryScreen();
    }
    QMainWindow::showEvent(event);
}

void TForm1::FormShow()
{
    shell::guarded([this] { runStartUp(); });
}

void TForm1::runStartUp()
{
    v_prdir = resources::currentFolder();

    std::optional<resources::CarriedDatabase> carried;
    startUpStep(u"Hiba történt - 1 !", [&] { carried = resources::CarriedDatabase::load(); });
    startUpStep(u"Hiba történt - 2 !", [&] {
        if (!carried)
            throw resources::WorkingCopy::WriteFailed("nothing to write");
        v_workingCopy = resources::WorkingCopy::write(carried->bytes(), workingCopyPath());
    });
    carried.reset();

    if (resources::WorkingCopy::exists(workingCopyPath()))
        FDConnection1.setDatabase(workingCopyPath());
    else
        shell::reportAndTerminate(QStringLiteral("Nem található az adatállomány !"));

    startUpStep(u"Adatállomány nem nyitható meg !", [&] { FDConnection1.open(); });
    startUpStep(u"Lekérdezés nem hajtható végre !", [&] { FDQuery1.open(); });

    Edit1->setText(QString());
    showCount(QStringLiteral("0"));
    showCount(QString::number(FDQuery1.recordCount()));
    selectPage(0);
}

void TForm1::showCount(const QString &count)
{
    Label12->setText(count);
    ui::fitToText(Label12);
}

void TForm1::centreOnPrimaryScreen()
{
    platform::centreOnScreen(*this, QGuiApplication::primaryScreen());
}

void TForm1::releaseStore()
{
    FDQuery1.close();
    FDConnection1.close();
    v_workingCopy.remove(workingCopyPath());
    v_workingCopy.release();
}

void TForm1::Kilps1Click()
{
    shell::guarded([this] {
        StatusBar1->setPanelText(0, exitStatusText);
        if (shell::askExitQuestion(this)) {
            releaseStore();
            shell::Termination::current().request();
        }
        StatusBar1->setPanelText(0, QString());
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (shell::Termination::current().isRequested()) {
        event->accept();
        return;
    }
    // Anything but a confirmed and completed release keeps the window open.
    event->ignore();
    shell::guarded([&] {
        StatusBar1->setPanelText(0, exitStatusText);
        const bool confirmed = shell::askExitQuestion(this);
        StatusBar1->setPanelText(0, QString());
        if (!confirmed)
            return; // the silent abort: nothing is shown
        releaseStore();
        event->accept();
        shell::Termination::current().request();
    });
}

void TForm1::Timer1Timer()
{
    shell::guarded([this] {
        m_hintDisplay.refresh();
        StatusBar1->setPanelText(1, ui::clockText(QDateTime::currentDateTime(), m_clock));
    });
}

void TForm1::changeEvent(QEvent *event)
{
    // The regional settings changed: the next tick uses the new ones.
    if (event->type() == QEvent::LocaleChange)
        m_clock = ui::ClockSettings::ofUser();
    QMainWindow::changeEvent(event);
}

// Opens the detail window on the current record, also for an empty or closed
// result; its two picture buttons stay disabled from then on.
void TForm1::DBGrid1DblClick()
{
    shell::guarded([this] {
        m_detailWindow->BitBtn1->setEnabled(false);
        m_detailWindow->BitBtn2->setEnabled(false);
        m_detailWindow->exec();
    });
}

void TForm1::replaceQuery(const QString &line)
{
    FDQuery1.close();
    FDQuery1.clearSql();
    FDQuery1.addSql(line);
    FDQuery1.open();
}

// The search keeps every poem whose title, date or text contains the term,
// taken exactly as typed: only its apostrophes are doubled to quote it, and
// "%" and "_" in it stay wildcards.
void TForm1::BitBtn1Click()
{
    QString pattern = u'%' + Edit1->text() + u'%';
    const QString literal = u'\'' + pattern.replace(u'\'', QStringLiteral("''")) + u'\'';
    showResultOf(QStringLiteral("Select * FROM tbl_Data WHERE CIM like ") + literal
                     + QStringLiteral(" or DATUM like ") + literal + QStringLiteral(" or VERS like ") + literal,
                 KeepTerm);
}

// Back to every poem, with an empty term box.
void TForm1::BitBtn2Click()
{
    showResultOf(QString::fromLatin1(store::RecordSet::baseQuery), ClearTerm);
}

// Runs the query under the SQL wait cursor and shows its result on the title index.
void TForm1::showResultOf(const QString &line, TermBox term)
{
    shell::guarded([&] {
        m_screenCursor.setSqlWait();
        replaceQuery(line);
        if (term == ClearTerm)
            Edit1->setText(QString());
        showCount(QString::number(FDQuery1.recordCount()));
        selectPage(0);
        m_screenCursor.setDefault();
    });
}

// The about page's links hand their addresses to the desktop, which starts
// the mail program or the web browser; what the desktop makes of them is not
// examined, so the program shows nothing either way.
void TForm1::Label5Click()
{
    openAddress(QStringLiteral("mailto:pellimor@mehes.example"));
}

void TForm1::Label6Click()
{
    openAddress(QStringLiteral("http://www.pellimor.example/"));
}

void TForm1::Label7Click()
{
    openAddress(QStringLiteral("http://vargorin.pellimor.example/"));
}

void TForm1::Label8Click()
{
    openAddress(QStringLiteral("http://programok.pellimor.example/"));
}

void TForm1::Label9Click()
{
    openAddress(QStringLiteral("https://play.google.com/store/apps/developer?id=Pellimor"));
}

void TForm1::openAddress(const QString &address)
{
    shell::guarded([&] { platform::openAddress(address); });
}

void TForm1::Lexikon1Click()
{
    selectPage(0);
}

void TForm1::Keress1Click()
{
    selectPage(1);
}

void TForm1::Bemutatkozs1Click()
{
    selectPage(2);
}
