#pragma once

#include "connection.h"
#include "datasource.h"
#include "widgets/dbgrid.h"
#include "poemfixture.h"
#include "recordset.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

// The title grid at its place and size on the index page (left 3, top 3,
// 667 x 470) in a window of its own with the layout's font, attached to the
// real store on a poem database made in a temporary folder. A line edit
// below the grid can take the focus away from it.
class GridWindow final {
public:
    static constexpr int carried = -1;

    // `poems` records titled "Vers 1", "Vers 2", ..., or a copy of the carried database.
    explicit GridWindow(int poems)
    {
        build(poems == carried ? fixture::copyCarried(m_folder.path())
                               : fixture::makePoems(m_folder.path(), poems));
    }

    explicit GridWindow(const QStringList &titles) { build(fixture::makePoems(m_folder.path(), titles)); }

    // The cell's centre, in the coordinates of the grid's viewport.
    QPoint cellCentre(int row) const { return grid->gridGeometry().cellRect(row).center(); }
    QPoint inWindow(QPoint inViewport) const { return grid->viewport()->mapTo(&window, inViewport); }

private:
    void build(const QString &database)
    {
        connection.setDatabase(database);
        window.setFont(QFont(QStringLiteral("Tahoma"), 8));
        window.resize(673, 500);
        grid = new ui::DBGrid(&window);
        grid->setObjectName(QStringLiteral("DBGrid1"));
        grid->setGeometry(3, 3, 667, 470);
        other = new QLineEdit(&window);
        other->setGeometry(3, 476, 200, 20);
        grid->setDataSource(&source);
    }

    QTemporaryDir m_folder;

public:
    store::Connection connection;
    store::RecordSet records{connection};
    store::DataSource source{&records};
    QWidget window;
    ui::DBGrid *grid = nullptr;
    QLineEdit *other = nullptr;
};
