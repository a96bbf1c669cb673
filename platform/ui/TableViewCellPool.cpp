#include "platform/ui/TableViewCellPool.h"

#include <algorithm>

namespace ui {

TableViewCellPool::TableViewCellPool(QWidget* host) : host_(host) {}

void TableViewCellPool::adopt(TableViewCell* cell) {
    if (cell->parentWidget() != host_) {
        cell->setParent(host_);
        cell->hide(); // until the table shows it
    }
}

void TableViewCellPool::enqueueReusableCell(TableViewCell* cell) {
    if (cell->reuseIdentifier().isEmpty()) {
        delete cell;
        return;
    }
    cell->hide();
    cell->setHighlighted(false);
    waiting_[cell->reuseIdentifier()].push_back(cell);
}

TableViewCell* TableViewCellPool::takeReusableCell(const QString& identifier,
                                                   const std::type_info& type) {
    const auto found = waiting_.find(identifier);
    if (found == waiting_.end()) {
        return nullptr;
    }
    while (!found->empty()) {
        TableViewCell* cell = found->back();
        found->pop_back();
        if (typeid(*cell) == type) {
            prepareForReuse(cell);
            return cell;
        }
        // One identifier names one class of cell: a cell of another class waiting under
        // it is of no use to anyone who asks for the identifier.
        delete cell;
    }
    return nullptr;
}

void TableViewCellPool::prepareForReuse(TableViewCell* cell) {
    cell->setSelected(false);
    cell->setHighlighted(false);
    cell->setShowsDeleteConfirmation(false);
    cell->prepareForReuse();
}

std::vector<IndexPath> TableViewCellPool::keepCellsForRows(
    const std::vector<IndexPath>& rows,
    const std::function<TableViewCell*(const IndexPath&)>& cellForRow) {
    enqueueCellsForRowsIf([&rows](const IndexPath& indexPath) {
        return !std::binary_search(rows.begin(), rows.end(), indexPath);
    });
    std::vector<IndexPath> appearing;
    for (const IndexPath& indexPath : rows) {
        if (onScreen_.count(indexPath) == 0) {
            onScreen_[indexPath] = cellForRow(indexPath);
            appearing.push_back(indexPath);
        }
    }
    return appearing;
}

void TableViewCellPool::enqueueCellsForRowsIf(const std::function<bool(const IndexPath&)>& leaves) {
    for (auto it = onScreen_.begin(); it != onScreen_.end();) {
        if (leaves(it->first)) {
            enqueueReusableCell(it->second);
            it = onScreen_.erase(it);
        } else {
            ++it;
        }
    }
}

void TableViewCellPool::enqueueAllCellsForRows() {
    enqueueCellsForRowsIf([](const IndexPath&) { return true; });
}

TableViewCell* TableViewCellPool::cellForRowAtIndexPath(const IndexPath& indexPath) const {
    const auto found = onScreen_.find(indexPath);
    return found != onScreen_.end() ? found->second : nullptr;
}

std::optional<IndexPath> TableViewCellPool::indexPathForCell(const TableViewCell* cell) const {
    for (const auto& [indexPath, shown] : onScreen_) {
        if (shown == cell) {
            return indexPath;
        }
    }
    return std::nullopt;
}

int TableViewCellPool::count() const {
    int count = 0;
    for (const std::vector<TableViewCell*>& cells : waiting_) {
        count += static_cast<int>(cells.size());
    }
    return count;
}

} // namespace ui
