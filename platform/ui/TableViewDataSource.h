#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

namespace ui {

class TableView;

// What a table shows: its sections, their rows and headers, and the cell of a row.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(TableView* /*tableView*/) { return 1; }
    virtual int tableViewNumberOfRowsInSection(TableView* tableView, int section) = 0;
    // The table owns the cell it is given.
    virtual TableViewCell* tableViewCellForRowAtIndexPath(TableView* tableView,
                                                          const IndexPath& indexPath) = 0;
    virtual QString tableViewTitleForHeaderInSection(TableView* /*tableView*/, int /*section*/) {
        return {};
    }
    virtual bool tableViewCanEditRowAtIndexPath(TableView* /*tableView*/,
                                                const IndexPath& /*indexPath*/) {
        return false;
    }
    virtual void tableViewCommitEditingStyleForRowAtIndexPath(TableView* /*tableView*/,
                                                              TableViewCellEditingStyle /*style*/,
                                                              const IndexPath& /*indexPath*/) {}
};

} // namespace ui
