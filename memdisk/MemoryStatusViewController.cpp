#include "memdisk/MemoryStatusViewController.h"

#include "common/AppState.h"
#include "common/NumberText.h"
#include "common/Resources.h"
#include "memdisk/MemoryStatus.h"
#include "memdisk/MemoryStatusGraphCell.h"
#include "memdisk/MemoryStatusGraphView.h"
#include "memdisk/MemoryStatusTableCell.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

namespace {

const char* const kSectionHeaderKeys[MemoryStatusViewController::kSectionCount] = {
    "BasicInfo", "PageInfo", "DetailInfo", "CacheInfo"};
const int kRowsInSection[MemoryStatusViewController::kSectionCount] = {1, 2, 4, 3};

const ui::Color kFreeColor{0, 0.7, 0, 1};
const ui::Color kActiveColor{0.7, 0.7, 0, 1};
const ui::Color kInactiveColor{0, 0, 0.7, 1};
const ui::Color kWiredColor{0.7, 0, 0, 1};

} // namespace

MemoryStatusViewController::MemoryStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped),
      appCon_(AppState::ofSharedApplication()), memStat_(MemoryStatus::sharedInstance()) {
    setTitle(Resources::text("MemoryStatus"));
}

void MemoryStatusViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
}

void MemoryStatusViewController::viewWillAppear(bool /*animated*/) {
    refreshAction();
}

void MemoryStatusViewController::refreshAction() {
    memStat_->snapshot();
    tableView()->reloadData();
}

uint64_t MemoryStatusViewController::megabytes(uint64_t count, uint32_t pagesize) {
    return (count / 1024) * (pagesize / 1024);
}

QString MemoryStatusViewController::megabytesText(uint64_t count) const {
    return QStringLiteral("%1 MBytes")
        .arg(numberText(appCon_, megabytes(count, memStat_->pagesize())));
}

void MemoryStatusViewController::setGraphData(MemoryStatusGraphView* graph) const {
    graph->clearData();
    const uint32_t pagesize = memStat_->pagesize();
    const auto share = [pagesize](uint64_t pages) {
        return static_cast<float>(megabytes(pages, pagesize));
    };
    graph->setDataWithColorForKey(share(memStat_->free()), kFreeColor, QStringLiteral("Free"));
    graph->setDataWithColorForKey(share(memStat_->active()), kActiveColor,
                                  QStringLiteral("Active"));
    graph->setDataWithColorForKey(share(memStat_->inactive()), kInactiveColor,
                                  QStringLiteral("Inactive"));
    graph->setDataWithColorForKey(share(memStat_->wired()), kWiredColor, QStringLiteral("Wired"));
}

int MemoryStatusViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    return section >= 0 && section < kSectionCount ? kRowsInSection[section] : 0;
}

QString MemoryStatusViewController::tableViewTitleForHeaderInSection(ui::TableView*, int section) {
    return section >= 0 && section < kSectionCount ? Resources::text(kSectionHeaderKeys[section])
                                                   : QString();
}

double
MemoryStatusViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                             const ui::IndexPath& indexPath) {
    return indexPath.section == BasicInfoSection ? kChartRowHeight : kRowHeight;
}

MemoryStatusViewController::Row
MemoryStatusViewController::rowAt(const ui::IndexPath& indexPath) const {
    const MemoryStatus& m = *memStat_;
    switch (indexPath.section * 10 + indexPath.row) {
    case PageInfoSection * 10 + 0:
        return {"PageIn", megabytesText(m.pageins())};
    case PageInfoSection * 10 + 1:
        return {"PageOut", megabytesText(m.pageouts())};
    case DetailInfoSection * 10 + 0:
        return {"Faults", megabytesText(m.faults())};
    case DetailInfoSection * 10 + 1:
        return {"CopyOnWrite", megabytesText(m.cow_faults())};
    case DetailInfoSection * 10 + 2:
        return {"ZeroFilled", megabytesText(m.zero_filled())};
    case DetailInfoSection * 10 + 3:
        return {"Reactivated", megabytesText(m.reactivated())};
    case CacheInfoSection * 10 + 0:
        return {"Lookups", numberText(appCon_, m.lookups())};
    case CacheInfoSection * 10 + 1:
        return {"Hits", numberText(appCon_, m.hits())};
    case CacheInfoSection * 10 + 2:
        return {"HitRate", QStringLiteral("%1%").arg(numberText(appCon_, uint64_t{m.hit_rate()}))};
    default:
        return {};
    }
}

ui::TableViewCell* MemoryStatusViewController::chartCell(ui::TableView* tableView) const {
    auto* cell =
        tableView->dequeueReusableCell<MemoryStatusGraphCell>(kMemoryStatusGraphCellIdentifier);
    setGraphData(cell->graphView());
    return cell;
}

ui::TableViewCell*
MemoryStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) {
    if (indexPath.section == BasicInfoSection) {
        return chartCell(tableView);
    }
    auto* cell =
        tableView->dequeueReusableCell<MemoryStatusTableCell>(kMemoryStatusTableCellIdentifier);
    const Row row = rowAt(indexPath);
    cell->setOffset(0);
    cell->setColor(ui::Color::black());
    cell->title()->setText(row.titleKey.isEmpty() ? QString() : Resources::text(row.titleKey));
    cell->value()->setText(row.value);
    return cell;
}
