#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QPlainTextEdit;

namespace store {
class DataSource;
} // namespace store

namespace ui {

// Follows the record set behind a data source and tells its links whenever
// the current record may have changed: on open and close, on every data-set
// change and on every scroll. The links update inside the notification,
// synchronously with the move that caused it, whether their window is shown
// or not.
class BindSource final : public QObject {
    Q_OBJECT
public:
    explicit BindSource(store::DataSource &source, QObject *parent = nullptr);

    // The current record's field as text; empty while the record set is
    // closed, when its result is empty, and for NULL.
    QString fieldText(const QString &field) const;

signals:
    void currentRecordChanged();

private:
    store::DataSource &m_source;
};

// Copies a field of the current record into a property of a component, such
// as the text of a label.
class LinkPropertyToField final : public QObject {
    Q_OBJECT
public:
    LinkPropertyToField(BindSource &source, const QString &field, QObject *component,
                        const char *property);

private:
    void refresh();

    BindSource &m_source;
    QString m_field;
    QPointer<QObject> m_component;
    QByteArray m_property;
};

// Copies a text field of the current record into a multi-line text box. Every
// line break of the stored text, whatever its form (LF, CR LF or a lone CR),
// starts a new line. A text equal to what the box holds leaves the box alone,
// so coming back to the window on the same record keeps the reader's scroll
// position and selection; a new text starts at its first line.
//
// Nobody reads a hidden box: while it is hidden the link only notes that the
// record changed, and its window calls catchUp() when it is shown again. A
// search that lands on a long poem then costs no text layout at all.
class LinkControlToField final : public QObject {
    Q_OBJECT
public:
    LinkControlToField(BindSource &source, const QString &field, QPlainTextEdit *control);

    void catchUp();

private:
    void refresh();

    BindSource &m_source;
    QString m_field;
    QPointer<QPlainTextEdit> m_control;
    bool m_behind = false;
};

} // namespace ui
