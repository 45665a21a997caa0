#pragma once

#include "connection.h"
#include "datasource.h"
#include "recordset.h"
#include "statementtrace.h"

#include <QObject>
#include <QStringList>

#include <optional>

// A view attached to a data source that writes down every notification with
// what the record set showed at that moment: "scrolled -1 #2 --" is a scroll
// by -1 that left record 2 current with neither marker set ("B-" is the
// begin marker only, "-E" the end marker only).
class RecordingView final : public QObject {
public:
    explicit RecordingView(store::DataSource &source)
    {
        connect(&source, &store::DataSource::stateChanged, this,
                [this, &source](bool active) { note(source, active ? "active" : "inactive"); });
        connect(&source, &store::DataSource::dataSetChanged, this,
                [this, &source] { note(source, QStringLiteral("changed")); });
        connect(&source, &store::DataSource::scrolledBy, this,
                [this, &source](int distance) { note(source, QStringLiteral("scrolled %1").arg(distance)); });
    }

    static QString state(const store::RecordSet &records)
    {
        return QStringLiteral("#%1 %2%3")
            .arg(records.recordNumber())
            .arg(records.bof() ? 'B' : '-')
            .arg(records.eof() ? 'E' : '-');
    }

    QStringList notes;

private:
    void note(const store::DataSource &source, const QString &event)
    {
        notes.append(event + u' ' + state(*source.recordSet()));
    }
};

// The real store on a database file, with a recording view on its data
// source and a trace of what the engine runs.
struct StoreHarness {
    explicit StoreHarness(const QString &path)
    {
        connection.setDatabase(path);
        connection.open();
        trace.emplace(connection.handle());
    }

    void query(const QString &sql)
    {
        records.clearSql();
        records.addSql(sql);
    }

    store::Connection connection;
    store::RecordSet records{connection};
    store::DataSource source{&records};
    RecordingView view{source};
    std::optional<StatementTrace> trace; // reset it before closing the connection
};
