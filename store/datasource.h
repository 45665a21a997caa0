#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

namespace store {

class RecordSet;

// Links a record set to the views attached here: every notification of the
// record set is passed on synchronously, so views need not know which record
// set they show until they read it.
class DataSource final : public QObject {
    Q_OBJECT
public:
    explicit DataSource(RecordSet *recordSet = nullptr, QObject *parent = nullptr);

    void setRecordSet(RecordSet *recordSet);
    RecordSet *recordSet() const { return m_recordSet; }

signals:
    void stateChanged(bool active);
    void dataSetChanged();
    void scrolledBy(int distance);

private:
    QPointer<RecordSet> m_recordSet;
    QList<QMetaObject::Connection> m_forwards;
};

} // namespace store
