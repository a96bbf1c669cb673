#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"

class QWidget;

namespace ui {

class TableView;

// Hears the user's touches on a table and decides row and header heights.
class TableViewDelegate {
public:
    // A header height that lets the table decide (from whether there is a title).
    static constexpr double automaticHeight = -1;

    virtual ~TableViewDelegate() = default;

    // Default: the table's rowHeight().
    virtual double tableViewHeightForRowAtIndexPath(TableView* tableView,
                                                    const IndexPath& indexPath);
    virtual void tableViewDidSelectRowAtIndexPath(TableView* /*tableView*/,
                                                  const IndexPath& /*indexPath*/) {}
    virtual void tableViewAccessoryButtonTappedForRowWithIndexPath(TableView* /*tableView*/,
                                                                   const IndexPath& /*indexPath*/) {
    }
    virtual TableViewCellEditingStyle
    tableViewEditingStyleForRowAtIndexPath(TableView* /*tableView*/,
                                           const IndexPath& /*indexPath*/) {
        return TableViewCellEditingStyle::Delete;
    }
    virtual double tableViewHeightForHeaderInSection(TableView* /*tableView*/, int /*section*/) {
        return automaticHeight;
    }
    // The table owns the view it is given.
    virtual QWidget* tableViewViewForHeaderInSection(TableView* /*tableView*/, int /*section*/) {
        return nullptr;
    }
    virtual void tableViewWillDisplayCellForRowAtIndexPath(TableView* /*tableView*/,
                                                           TableViewCell* /*cell*/,
                                                           const IndexPath& /*indexPath*/) {}
};

} // namespace ui
