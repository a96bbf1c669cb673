#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewGeometry.h"

#include <QList>

#include <optional>

namespace ui {

class TableView;
class TableViewCellPool;

// What touches and the program do to a table's rows: the one selected row, editing
// mode with its delete controls, the one row showing its Delete button, and the data
// source and delegate calls each of them makes. The cells on screen show the state.
class TableViewInteraction {
public:
    TableViewInteraction(TableView* table, const TableViewCellPool* cells);

    std::optional<IndexPath> selectedRow() const { return selected_; }
    std::optional<IndexPath> rowShowingDeleteConfirmation() const { return confirming_; }
    bool isEditing() const { return editing_; }

    // Selecting a row that does not exist deselects the selected one.
    void selectRow(const IndexPath& indexPath, bool animated, TableViewScrollPosition position);
    void deselectRow(const IndexPath& indexPath, bool animated);
    // False when the table was already in that mode.
    bool setEditing(bool editing);
    // A finger on a row highlights it, unless the row cannot be selected now.
    void highlightRow(const IndexPath& indexPath, bool highlighted);

    // A tap while a row shows its Delete button only takes the button away.
    void tapRow(const IndexPath& indexPath);
    void tapAccessory(const IndexPath& indexPath);
    // Shows the Delete button of a row the data source lets delete.
    void swipeToDeleteRow(const IndexPath& indexPath);
    void confirmDelete(const IndexPath& indexPath);
    void hideDeleteConfirmation();

    // The data changed: everything, some sections, or rows deleted (direction -1) or
    // inserted (+1), which moves the selection with the rows below them.
    void forgetRows();
    void forgetSections(const QList<int>& sections);
    void moveRows(const QList<IndexPath>& changed, int direction);

    // Shows on `cell` the editing, delete confirmation and selection of its row.
    void configureCell(TableViewCell* cell, const IndexPath& indexPath) const;

private:
    bool isValid(const IndexPath& indexPath) const;
    bool canEditRow(const IndexPath& indexPath) const;
    TableViewCellEditingStyle editingStyleForRow(const IndexPath& indexPath) const;

    TableView* table_;
    const TableViewCellPool* cells_;
    std::optional<IndexPath> selected_;
    std::optional<IndexPath> confirming_;
    bool editing_ = false;
};

} // namespace ui
