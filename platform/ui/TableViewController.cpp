#include "platform/ui/TableViewController.h"

#include "platform/ui/KeyCommands.h"

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
    } else {
        // Before viewWillDisappear, which may empty the table.
        keepPlace();
    }
}

void TableViewController::appearanceDidEnd(bool appearing) {
    if (!appearing || !tableView_) {
        return;
    }
    // After viewWillAppear and viewDidAppear, which may have reloaded the rows.
    returnToPlace();
    if (tableView_->isVisible() && !KeyCommands::overlayShown()) {
        tableView_->setFocus(Qt::OtherFocusReason);
    }
}

void TableViewController::keepPlace() {
    if (!tableView_) {
        return;
    }
    keptOffset_ = tableView_->contentOffset();
    keptRow_.reset();
    const std::optional<IndexPath> row = tableView_->keyboardRow();
    if (row && tableView_->indexPathsForVisibleRows().contains(*row)) {
        keptRow_ = row;
    }
}

void TableViewController::returnToPlace() {
    if (keptOffset_) {
        tableView_->setContentOffset(*keptOffset_);
    }
    if (keptRow_ && keptRow_->section < tableView_->numberOfSections() &&
        keptRow_->row < tableView_->numberOfRowsInSection(keptRow_->section)) {
        tableView_->scrollToRowAtIndexPathAtScrollPositionAnimated(
            *keptRow_, TableViewScrollPosition::None, false);
    }
    keptOffset_.reset();
    keptRow_.reset();
}

} // namespace ui
