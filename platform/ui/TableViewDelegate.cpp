#include "platform/ui/TableViewDelegate.h"

#include "platform/ui/TableView.h"

namespace ui {

double TableViewDelegate::tableViewHeightForRowAtIndexPath(TableView* tableView,
                                                           const IndexPath& /*indexPath*/) {
    return tableView->rowHeight();
}

} // namespace ui
