#include "platform/ui/TableViewController.h"

namespace ui {

TableViewController::TableViewController(TableViewStyle style) : style_(style) {}

TableView* TableViewController::tableView() {
    view();
    return tableView_;
}

void TableViewController::setTableView(TableView* tableView) {
    if (tableView == tableView_) {
        return;
    }
    TableView* old = tableView_;
    tableView_ = tableView;
    if (tableView != nullptr) {
        if (tableView->dataSource() == nullptr) {
            tableView->setDataSource(this);
        }
        if (tableView->delegate() == nullptr) {
            tableView->setDelegate(this);
        }
    }
    // The table is the view, unless the screen put it inside a view of its own.
    if (old != nullptr && isViewLoaded() && view() == old) {
        setView(tableView);
    } else if (!isViewLoaded() && tableView != nullptr) {
        setView(tableView);
    }
}

void TableViewController::loadView() {
    auto* table = new TableView(Screen::bounds(), style_);
    tableView_ = table;
    table->setDataSource(this);
    table->setDelegate(this);
    setView(table);
}

void TableViewController::setEditingAnimated(bool editing, bool animated) {
    tableView()->setEditing(editing, animated);
}

bool TableViewController::isEditing() const {
    return tableView_ && tableView_->isEditing();
}

void TableViewController::clearSelection() {
    if (tableView_) {
        if (const auto selected = tableView_->indexPathForSelectedRow()) {
            tableView_->deselectRowAtIndexPathAnimated(*selected, false);
        }
    }
}

void TableViewController::appearanceWillBegin(bool appearing) {
    if (appearing) {
        clearSelection();
    }
}

} // namespace ui
