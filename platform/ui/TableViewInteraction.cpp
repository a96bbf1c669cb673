#include "platform/ui/TableViewInteraction.h"

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCellPool.h"

#include <algorithm>

namespace ui {

TableViewInteraction::TableViewInteraction(TableView* table, const TableViewCellPool* cells)
    : table_(table), cells_(cells) {}

bool TableViewInteraction::isValid(const IndexPath& indexPath) const {
    return indexPath.section >= 0 && indexPath.row >= 0 &&
           indexPath.row < table_->numberOfRowsInSection(indexPath.section);
}

bool TableViewInteraction::canEditRow(const IndexPath& indexPath) const {
    TableViewDataSource* dataSource = table_->dataSource();
    return dataSource != nullptr && dataSource->tableViewCanEditRowAtIndexPath(table_, indexPath);
}

TableViewCellEditingStyle
TableViewInteraction::editingStyleForRow(const IndexPath& indexPath) const {
    TableViewDelegate* delegate = table_->delegate();
    return delegate != nullptr ? delegate->tableViewEditingStyleForRowAtIndexPath(table_, indexPath)
                               : TableViewCellEditingStyle::Delete;
}

void TableViewInteraction::selectRow(const IndexPath& indexPath, bool animated,
                                     TableViewScrollPosition position) {
    if (!isValid(indexPath)) {
        if (selected_) {
            deselectRow(*selected_, animated);
        }
        return;
    }
    if (selected_ && *selected_ != indexPath) {
        deselectRow(*selected_, animated);
    }
    selected_ = indexPath;
    if (TableViewCell* cell = table_->cellForRowAtIndexPath(indexPath)) {
        cell->setSelectedAnimated(true, animated);
    }
    if (position != TableViewScrollPosition::None) {
        table_->scrollToRowAtIndexPathAtScrollPositionAnimated(indexPath, position, animated);
    }
}

void TableViewInteraction::deselectRow(const IndexPath& indexPath, bool animated) {
    if (selected_ != indexPath) {
        return;
    }
    selected_.reset();
    if (TableViewCell* cell = cells_->cellForRowAtIndexPath(indexPath)) {
        cell->setSelectedAnimated(false, animated);
    }
}

bool TableViewInteraction::setEditing(bool editing) {
    if (editing_ == editing) {
        return false;
    }
    editing_ = editing;
    hideDeleteConfirmation();
    return true;
}

void TableViewInteraction::highlightRow(const IndexPath& indexPath, bool highlighted) {
    if (highlighted && (editing_ || confirming_ || !table_->allowsSelection())) {
        return;
    }
    if (TableViewCell* cell = table_->cellForRowAtIndexPath(indexPath)) {
        cell->setHighlighted(highlighted);
    }
}

void TableViewInteraction::tapRow(const IndexPath& indexPath) {
    if (confirming_) {
        hideDeleteConfirmation();
        return;
    }
    if (!isValid(indexPath) || editing_ || !table_->allowsSelection()) {
        return;
    }
    selectRow(indexPath, false, TableViewScrollPosition::None);
    if (TableViewDelegate* delegate = table_->delegate()) {
        delegate->tableViewDidSelectRowAtIndexPath(table_, indexPath);
    }
}

void TableViewInteraction::tapAccessory(const IndexPath& indexPath) {
    TableViewDelegate* delegate = table_->delegate();
    if (isValid(indexPath) && delegate != nullptr) {
        delegate->tableViewAccessoryButtonTappedForRowWithIndexPath(table_, indexPath);
    }
}

void TableViewInteraction::swipeToDeleteRow(const IndexPath& indexPath) {
    if (!isValid(indexPath) || !canEditRow(indexPath) ||
        editingStyleForRow(indexPath) != TableViewCellEditingStyle::Delete) {
        return;
    }
    hideDeleteConfirmation();
    confirming_ = indexPath;
    if (TableViewCell* cell = table_->cellForRowAtIndexPath(indexPath)) {
        cell->setShowsDeleteConfirmation(true);
    }
}

void TableViewInteraction::confirmDelete(const IndexPath& indexPath) {
    hideDeleteConfirmation();
    if (isValid(indexPath) && canEditRow(indexPath)) {
        table_->dataSource()->tableViewCommitEditingStyleForRowAtIndexPath(
            table_, TableViewCellEditingStyle::Delete, indexPath);
    }
}

void TableViewInteraction::hideDeleteConfirmation() {
    if (!confirming_) {
        return;
    }
    if (TableViewCell* cell = cells_->cellForRowAtIndexPath(*confirming_)) {
        cell->setShowsDeleteConfirmation(false);
    }
    confirming_.reset();
}

void TableViewInteraction::forgetRows() {
    selected_.reset();
    confirming_.reset();
}

void TableViewInteraction::forgetSections(const QList<int>& sections) {
    if (selected_ && sections.contains(selected_->section)) {
        selected_.reset();
    }
}

void TableViewInteraction::moveRows(const QList<IndexPath>& changed, int direction) {
    QList<IndexPath> ordered = changed;
    std::sort(ordered.begin(), ordered.end());
    if (direction < 0) {
        std::reverse(ordered.begin(), ordered.end());
    }
    for (const IndexPath& indexPath : ordered) {
        if (selected_ && direction < 0 && *selected_ == indexPath) {
            selected_.reset();
        } else if (selected_ && selected_->section == indexPath.section &&
                   selected_->row >= indexPath.row) {
            selected_->row += direction;
        }
    }
    confirming_.reset();
}

void TableViewInteraction::configureCell(TableViewCell* cell, const IndexPath& indexPath) const {
    const bool editable = editing_ && canEditRow(indexPath);
    if (editable) {
        cell->setEditingStyle(editingStyleForRow(indexPath));
    }
    cell->setEditing(editable);
    cell->setShowsDeleteConfirmation(confirming_ == indexPath);
    cell->setSelected(selected_ == indexPath);
}

} // namespace ui
