#include "widgets/dbnavigator.h"

#include "look/carriedart.h"
#include "datasource.h"
#include "handlerguard.h"
#include "look/hintdisplay.h"
#include "recordset.h"

#include <QToolButton>

namespace ui {

namespace {

struct ButtonLook {
    const char *name;    // the object name, and the picture's name in the artwork
    const char *hint;    // the built-in hint, until the hint list replaces it
    bool repeats;
};

constexpr std::array<ButtonLook, DBNavigator::visibleButtons> looks{{
    {"first", "First record", false},
    {"prior", "Prior record", true},
    {"next", "Next record", true},
    {"last", "Last record", false},
}};

// The buttons show only pictures: a screen reader names each by its hint's
// short part, the text its tooltip shows.
void setHint(QAbstractButton *button, const QString &hint)
{
    button->setProperty("hint", hint);
    button->setAccessibleName(ui::shortPart(hint));
}

} // namespace

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    for (int index = 0; index < visibleButtons; ++index) {
        const ButtonLook &look = looks.at(size_t(index));
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(look.name));
        button->setIcon(ui::carriedButtonIcon(QStringLiteral("nav-") + QLatin1String(look.name)));
        setHint(button, QString::fromLatin1(look.hint));
        // A press must leave the keyboard focus where it is: the bar is a
        // mouse tool beside the text being read.
        button->setFocusPolicy(Qt::NoFocus);
        const auto which = Button(index);
        connect(button, &QAbstractButton::clicked, this, [this, which] { perform(which); });
        if (look.repeats) {
            connect(button, &QAbstractButton::pressed, this, [this, which] { startRepeating(which); });
            connect(button, &QAbstractButton::released, &m_repeat, &QTimer::stop);
        }
        m_buttons.at(size_t(index)) = button;
    }
    m_repeat.setTimerType(Qt::PreciseTimer);
    connect(&m_repeat, &QTimer::timeout, this, &DBNavigator::repeat);
    updateButtons();
}

// Our own repeat rather than the button's: a button disabled while held (the
// move that found the end) reports its release, which stops this timer,
// whereas the button's own repeat timer would go on ticking unseen.
void DBNavigator::startRepeating(Button which)
{
    m_held = which;
    m_repeat.start(repeatDelayMs);
}

void DBNavigator::repeat()
{
    // Restarted before the move, so a move that disables the button stops it for good.
    m_repeat.start(repeatIntervalMs);
    perform(m_held);
}

void DBNavigator::setDataSource(store::DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &store::DataSource::stateChanged, this, &DBNavigator::updateButtons);
        connect(source, &store::DataSource::dataSetChanged, this, &DBNavigator::updateButtons);
        connect(source, &store::DataSource::scrolledBy, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setHints(const QStringList &hints)
{
    m_hints = hints;
    for (int index = 0; index < visibleButtons && index < hints.size(); ++index)
        if (!hints.at(index).isEmpty())
            setHint(m_buttons.at(size_t(index)), hints.at(index));
}

void DBNavigator::resizeEvent(QResizeEvent *event)
{
    // The bar's width is shared out equally among the buttons; a width that
    // does not divide evenly spreads its remainder over them.
    for (int index = 0; index < visibleButtons; ++index) {
        const int left = width() * index / visibleButtons;
        const int right = width() * (index + 1) / visibleButtons;
        m_buttons.at(size_t(index))->setGeometry(left, 0, right - left, height());
    }
    QWidget::resizeEvent(event);
}

// First and prior can act unless the cursor stands at the beginning, next
// and last unless at the end; a closed record set has both markers set, and
// so has an empty result, which leaves every button disabled.
void DBNavigator::updateButtons()
{
    const store::RecordSet *recordSet = m_source ? m_source->recordSet() : nullptr;
    const bool open = recordSet && recordSet->isActive();
    const bool towardsBeginning = open && !recordSet->bof();
    const bool towardsEnd = open && !recordSet->eof();
    button(First)->setEnabled(towardsBeginning);
    button(Prior)->setEnabled(towardsBeginning);
    button(Next)->setEnabled(towardsEnd);
    button(Last)->setEnabled(towardsEnd);
}

void DBNavigator::perform(Button which)
{
    shell::guarded([&] {
        store::RecordSet *recordSet = m_source ? m_source->recordSet() : nullptr;
        if (!recordSet || !recordSet->isActive())
            return;
        switch (which) {
        case First:
            recordSet->first();
            break;
        case Prior:
            recordSet->moveBy(-1);
            break;
        case Next:
            recordSet->moveBy(1);
            break;
        case Last:
            recordSet->last();
            break;
        default:
            break;
        }
    });
}

} // namespace ui
