#include "widgets/bindings.h"

#include "datasource.h"
#include "recordset.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QWidget>

namespace ui {

namespace {

// The box keeps its lines as paragraphs and reports what it holds with a
// paragraph separator between them, so the stored text is brought into that
// same form: one separator per line break, whichever form the break has.
QString asParagraphs(QString text)
{
    const QString separator(QChar::ParagraphSeparator);
    text.replace(QStringLiteral("\r\n"), separator);
    text.replace(u'\r', QChar::ParagraphSeparator);
    text.replace(u'\n', QChar::ParagraphSeparator);
    return text;
}

} // namespace

BindSource::BindSource(store::DataSource &source, QObject *parent) : QObject(parent), m_source(source)
{
    connect(&source, &store::DataSource::stateChanged, this, &BindSource::currentRecordChanged);
    connect(&source, &store::DataSource::dataSetChanged, this, &BindSource::currentRecordChanged);
    connect(&source, &store::DataSource::scrolledBy, this, &BindSource::currentRecordChanged);
}

QString BindSource::fieldText(const QString &field) const
{
    const store::RecordSet *records = m_source.recordSet();
    return records ? records->fieldText(field) : QString();
}

LinkPropertyToField::LinkPropertyToField(BindSource &source, const QString &field,
                                         QObject *component, const char *property)
    : QObject(component), m_source(source), m_field(field), m_component(component),
      m_property(property)
{
    connect(&source, &BindSource::currentRecordChanged, this, &LinkPropertyToField::refresh);
    refresh(); // the design's placeholder never shows
}

void LinkPropertyToField::refresh()
{
    if (!m_component)
        return;
    m_component->setProperty(m_property.constData(), m_source.fieldText(m_field));
    // A label repaints only its text area for a new text, but the accents
    // of a caption's capitals may stand above it, in the label's margin:
    // the whole widget is painted again so that no old accent stays there.
    if (m_component->isWidgetType())
        static_cast<QWidget *>(m_component.data())->update();
}

LinkControlToField::LinkControlToField(BindSource &source, const QString &field,
                                       QPlainTextEdit *control)
    : QObject(control), m_source(source), m_field(field), m_control(control)
{
    connect(&source, &BindSource::currentRecordChanged, this, &LinkControlToField::refresh);
    refresh(); // the design's placeholder never shows
}

void LinkControlToField::refresh()
{
    if (!m_control)
        return;
    if (!m_control->isVisible()) {
        m_behind = true;
        return;
    }
    m_behind = false;
    const QString text = asParagraphs(m_source.fieldText(m_field));
    // The raw text keeps non-breaking spaces, which the plain text would
    // turn into blanks and so never compare equal.
    if (text == m_control->document()->toRawText())
        return;
    m_control->setPlainText(text);
    m_control->moveCursor(QTextCursor::Start);
    m_control->verticalScrollBar()->setValue(0);
}

void LinkControlToField::catchUp()
{
    if (m_behind)
        refresh();
}

} // namespace ui
