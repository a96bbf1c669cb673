#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"

#include <QHash>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

class QWidget;

namespace ui {

// The cells of one table: those on screen, by row, and those waiting to be reused.
// Every cell the table has is a child of its host (the table's viewport): the table
// alone owns its cells, and data sources keep no pointers to them. A cell that leaves
// the screen waits, hidden, under its reuse identifier until a data source dequeues it
// again; a cell without an identifier cannot be reused and is deleted then.
class TableViewCellPool {
public:
    explicit TableViewCellPool(QWidget* host);

    // A waiting cell of class `Cell` under `identifier`, prepared for reuse, or else a
    // new `Cell(arguments..., identifier)`; either way a hidden cell of the host.
    template <class Cell, class... Arguments>
    Cell* dequeueReusableCell(const QString& identifier, Arguments&&... arguments) {
        static_assert(std::is_base_of_v<TableViewCell, Cell>, "a table's cells are TableViewCells");
        if (TableViewCell* waiting = takeReusableCell(identifier, typeid(Cell))) {
            return static_cast<Cell*>(waiting); // its class was checked
        }
        auto* cell = new Cell(std::forward<Arguments>(arguments)..., identifier);
        adopt(cell);
        return cell;
    }

    // Makes `cell` one of the host's cells (a data source may hand over a cell it made
    // itself).
    void adopt(TableViewCell* cell);
    // Takes a cell that left the screen: it waits for reuse, or is deleted.
    void enqueueReusableCell(TableViewCell* cell);
    // How many cells wait, under every identifier.
    int count() const;

    // Keeps cells on screen for `rows` (in order) and for no others: the cells of other
    // rows are enqueued, and each row without a cell gets the one `cellForRow` makes.
    // Returns the rows that got a cell.
    std::vector<IndexPath>
    keepCellsForRows(const std::vector<IndexPath>& rows,
                     const std::function<TableViewCell*(const IndexPath&)>& cellForRow);
    // Enqueues the cells of the rows that `leaves` picks.
    void enqueueCellsForRowsIf(const std::function<bool(const IndexPath&)>& leaves);
    void enqueueAllCellsForRows();
    // nullptr for a row without a cell on screen.
    TableViewCell* cellForRowAtIndexPath(const IndexPath& indexPath) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;
    const std::map<IndexPath, TableViewCell*>& cellsOnScreen() const { return onScreen_; }

private:
    TableViewCell* takeReusableCell(const QString& identifier, const std::type_info& type);
    static void prepareForReuse(TableViewCell* cell);

    QWidget* host_;
    std::map<IndexPath, TableViewCell*> onScreen_;
    QHash<QString, std::vector<TableViewCell*>> waiting_;
};

} // namespace ui
