#include "datasource.h"

#include "recordset.h"

namespace store {

DataSource::DataSource(RecordSet *recordSet, QObject *parent) : QObject(parent)
{
    setRecordSet(recordSet);
}

void DataSource::setRecordSet(RecordSet *recordSet)
{
    for (const QMetaObject::Connection &forward : std::as_const(m_forwards))
        disconnect(forward);
    m_forwards.clear();
    m_recordSet = recordSet;
    if (!recordSet)
        return;
    m_forwards = {
        connect(recordSet, &RecordSet::stateChanged, this, &DataSource::stateChanged, Qt::DirectConnection),
        connect(recordSet, &RecordSet::dataSetChanged, this, &DataSource::dataSetChanged, Qt::DirectConnection),
        connect(recordSet, &RecordSet::scrolledBy, this, &DataSource::scrolledBy, Qt::DirectConnection),
    };
}

} // namespace store
