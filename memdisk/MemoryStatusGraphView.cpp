#include "memdisk/MemoryStatusGraphView.h"

#include "common/AppState.h"
#include "common/NumberText.h"
#include "common/Resources.h"
#include "memdisk/MemoryStatusTableCell.h"

#include <algorithm>

namespace {

// The legend's rows, top to bottom.
const char* const kLegendKeys[] = {"Free", "Active", "Inactive", "Wired"};
constexpr int kLegendRows = 4;

} // namespace

MemoryStatusGraphView::MemoryStatusGraphView(QWidget* parent)
    : QWidget(parent), appCon_(AppState::ofSharedApplication()),
      graph_(new GraphView({5, 0, 100, 106}, this)),
      table_(new ui::TableView({105, 0, 185, 106}, ui::TableViewStyle::Plain)) {
    // Inside the 300-point card with room for its rounded border: the legend's white
    // would otherwise cover the card's right edge.
    ui::setFrame(this, {4, 3, 290, 106});
    table_->setParent(this);
    ui::setFrame(table_, {105, 0, 185, 106});
    table_->show();
    table_->setScrollEnabled(false);
    table_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    table_->setBackgroundColor(ui::Color::white());
    table_->setAllowsSelection(false);
    table_->setDelegate(this);
    table_->setDataSource(this);
}

void MemoryStatusGraphView::setDataWithColorForKey(float number, const ui::Color& color,
                                                   const QString& key) {
    data_.insert(key, {number, color});
    // Lay the legend out now, so that its rows (and with them the chart's slices) are
    // there whether or not the composite is on screen yet.
    table_->reloadData();
    table_->visibleCells();
}

void MemoryStatusGraphView::clearData() {
    data_.clear();
    charted_.clear();
    graph_->clearData();
    table_->reloadData();
}

int MemoryStatusGraphView::tableViewNumberOfRowsInSection(ui::TableView*, int) {
    return kLegendRows;
}

ui::TableViewCell*
MemoryStatusGraphView::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<MemoryStatusTableCell>(kMemoryStatusTableCellIdentifier);
    cell->setOffset(0); // the titles are short; the values take the room
    const QString key = kLegendKeys[std::clamp(indexPath.row, 0, kLegendRows - 1)];
    const auto pair = data_.constFind(key);
    if (pair == data_.constEnd()) {
        cell->title()->setText(QString());
        cell->value()->setText(QString());
        return cell;
    }
    const auto& [number, color] = *pair;
    cell->title()->setText(Resources::text(key));
    // Grouped as the screen's other rows; whole numbers without a fraction ("16").
    cell->value()->setText(QStringLiteral("%1 MBytes").arg(numberText(appCon_, double{number})));
    cell->setColor(color);
    // The table asks again for rows it lays out anew; each key's slice goes in once.
    if (!charted_.contains(key)) {
        charted_.insert(key);
        graph_->setDataWithColor(number, color);
    }
    return cell;
}
