#include "memdisk/DiskStatusViewController.h"

#include "common/AppState.h"
#include "common/NumberText.h"
#include "common/Resources.h"
#include "memdisk/DiskStatus.h"
#include "memdisk/DiskStatusGraphCell.h"
#include "memdisk/DiskStatusTableCell.h"
#include "memdisk/GraphView.h"
#include "platform/services/PlatformProfile.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

#include <iterator>

namespace {

const ui::Color kTotalColor{0, 0, 0.7, 1};
const ui::Color kUsedColor{0.7, 0, 0, 1};
const ui::Color kAvailableColor{0, 0.7, 0, 1};

enum TextRow { MountedOn = 0, FSType, MountOpts, TotalSize, UsedSize, AvailableSize, Capacity };

struct RowStyle {
    const char* titleKey;
    int32_t offset;
    ui::Color valueColor;
};

const RowStyle kTextRows[] = {
    {"MountedOn", 0, ui::Color::black()},
    {"FSType", 30, ui::Color::black()},
    {"MountOpts", -20, ui::Color::black()},
    {"TotalSize", 0, kTotalColor},
    {"UsedSize", 0, kUsedColor},
    {"AvailableSize", 0, kAvailableColor},
    {"Capacity", 0, ui::Color::black()},
};
constexpr int kTextRowCount = static_cast<int>(std::size(kTextRows));

} // namespace

DiskStatusViewController::DiskStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped),
      appCon_(AppState::ofSharedApplication()), diskstat_(DiskStatus::sharedInstance()) {
    setTitle(Resources::text("DiskStatus"));
}

void DiskStatusViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
}

void DiskStatusViewController::viewWillAppear(bool /*animated*/) {
    refreshAction();
}

void DiskStatusViewController::viewWillDisappear(bool /*animated*/) {
    diskstat_->removeAllData();
    // The table must not keep sections whose records are gone.
    tableView()->reloadData();
}

void DiskStatusViewController::refreshAction() {
    diskstat_->snapshot();
    tableView()->reloadData();
}

QString DiskStatusViewController::headerTitle(const DiskInfo& disk) {
    const QString area = services::PlatformProfile::diskAreaKey(disk.filesystem(), disk.mounted());
    if (area.isEmpty()) {
        return disk.filesystem();
    }
    return QStringLiteral("%1 [%2]").arg(Resources::text(area), disk.filesystem());
}

void DiskStatusViewController::setGraphData(GraphView* graph, const DiskInfo& disk) {
    graph->clearData();
    graph->setDataWithColor(static_cast<float>(disk.avail() / 1024), kAvailableColor);
    graph->setDataWithColor(static_cast<float>(disk.used() / 1024), kUsedColor);
}

const DiskInfo* DiskStatusViewController::diskAt(int section) const {
    const QList<DiskInfo>& disks = diskstat_->info();
    return section >= 0 && section < disks.size() ? &disks.at(section) : nullptr;
}

int DiskStatusViewController::numberOfSectionsInTableView(ui::TableView*) {
    return static_cast<int>(diskstat_->info().size());
}

int DiskStatusViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    return diskAt(section) != nullptr ? kRowCount : 0;
}

QString DiskStatusViewController::tableViewTitleForHeaderInSection(ui::TableView*, int section) {
    const DiskInfo* disk = diskAt(section);
    return disk != nullptr ? headerTitle(*disk) : QString();
}

double DiskStatusViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                                  const ui::IndexPath& indexPath) {
    return indexPath.row == rowGraph_ ? kChartRowHeight : kRowHeight;
}

QString DiskStatusViewController::megabytesText(int64_t kilobytes) const {
    return QStringLiteral("%1 MBytes").arg(numberText(appCon_, kilobytes / 1024));
}

ui::TableViewCell* DiskStatusViewController::textCell(ui::TableView* tableView,
                                                      const DiskInfo& disk, int row) const {
    auto* cell =
        tableView->dequeueReusableCell<DiskStatusTableCell>(kDiskStatusTableCellIdentifier);
    cell->setOffset(0);
    cell->setValueColor(ui::Color::black());
    cell->title()->setText(QString());
    cell->value()->setText(QString());
    if (row < 0 || row >= kTextRowCount) {
        return cell;
    }
    const RowStyle& style = kTextRows[row];
    cell->setOffset(style.offset);
    cell->setValueColor(style.valueColor);
    cell->title()->setText(Resources::text(style.titleKey));
    switch (row) {
    case MountedOn:
        cell->value()->setText(disk.mounted());
        break;
    case FSType:
        cell->value()->setText(disk.fstype());
        break;
    case MountOpts:
        cell->value()->setText(disk.options().join(','));
        break;
    case TotalSize:
        cell->value()->setText(megabytesText(disk.size()));
        break;
    case UsedSize:
        cell->value()->setText(megabytesText(disk.used()));
        break;
    case AvailableSize:
        cell->value()->setText(megabytesText(disk.avail()));
        break;
    case Capacity:
        cell->value()->setText(
            QStringLiteral("%1%").arg(numberText(appCon_, int64_t{disk.capacity()})));
        break;
    }
    return cell;
}

ui::TableViewCell* DiskStatusViewController::chartCell(ui::TableView* tableView,
                                                       const DiskInfo& disk) const {
    auto* cell =
        tableView->dequeueReusableCell<DiskStatusGraphCell>(kDiskStatusGraphCellIdentifier);
    setGraphData(cell->graphView(), disk);
    return cell;
}

ui::TableViewCell*
DiskStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                         const ui::IndexPath& indexPath) {
    const DiskInfo* disk = diskAt(indexPath.section);
    if (disk == nullptr) {
        return nullptr;
    }
    if (indexPath.row == rowGraph_) {
        return chartCell(tableView, *disk);
    }
    return textCell(tableView, *disk, indexPath.row);
}
