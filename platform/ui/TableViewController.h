#pragma once

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

#include <QPointer>

namespace ui {

// A screen that is a table: its view is a TableView whose data source and delegate
// the screen itself is. The selected row is deselected when the screen comes back,
// scrolled where it was, with the row tapped to leave it in view, and its table takes
// the keyboard focus.
class TableViewController : public ViewController,
                            public TableViewDataSource,
                            public TableViewDelegate {
    Q_OBJECT

public:
    explicit TableViewController(TableViewStyle style = TableViewStyle::Plain);

    // The table, loading the view if needed.
    TableView* tableView();
    // Makes `tableView` this screen's table (and view); takes ownership. A table
    // without a data source or delegate gets this screen as both.
    void setTableView(TableView* tableView);
    TableViewStyle tableViewStyle() const { return style_; }

    void setEditingAnimated(bool editing, bool animated);
    bool isEditing() const;

    void loadView() override;

    int tableViewNumberOfRowsInSection(TableView* tableView, int section) override = 0;
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* tableView,
                                                  const IndexPath& indexPath) override = 0;

protected:
    void appearanceWillBegin(bool appearing) override;
    void appearanceDidEnd(bool appearing) override;
    void clearSelection();

private:
    void keepPlace();
    void returnToPlace();

    TableViewStyle style_;
    // Where the list was scrolled and the row on screen that was tapped, kept while
    // another screen covers this one.
    std::optional<Point> keptOffset_;
    std::optional<IndexPath> keptRow_;
    QPointer<TableView> tableView_;
};

} // namespace ui
