#include "system/SystemStatusViewController.h"

#include "common/AppState.h"
#include "common/NumberText.h"
#include "common/Resources.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "system/SystemStatus.h"
#include "system/SystemStatusTableCell.h"

namespace {

const char* const kSectionHeaderKeys[SystemStatusViewController::SectionCount] = {
    "UptimeInfo",        "LoadAvgInfo", "BatteryInfo", "NetworkInfo", "WhoInfo",     "LocationInfo",
    "AccelerometerInfo", "FlashInfo",   "DeviceInfo",  "KernelInfo",  "HardwareInfo"};

} // namespace

SystemStatusViewController::SystemStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped),
      appCon_(AppState::ofSharedApplication()), sysInfo_(SystemStatus::sharedInstance()) {
    setTitle(Resources::text("SystemStatus"));
    isNoOneThere_ = sysInfo_->who().isEmpty();
}

void SystemStatusViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
    loadTitle = {Resources::text("Avg1Min"), Resources::text("Avg5Mins"),
                 Resources::text("Avg15Mins")};
}

void SystemStatusViewController::viewDidUnload() {
    loadTitle.clear();
    ui::TableViewController::viewDidUnload();
}

void SystemStatusViewController::refreshAction() {
    sysInfo_->snapshotOfUptime();
    sysInfo_->snapshotOfLoadAvg();
    sysInfo_->snapshotOfWho();
    isNoOneThere_ = sysInfo_->who().isEmpty();
    tableView()->reloadData();
}

int SystemStatusViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    switch (section) {
    case UptimeSection:
        return 1;
    case LoadAvgSection:
        return static_cast<int>(loadTitle.size());
    case WhoSection:
        return isNoOneThere_ ? 1 : static_cast<int>(sysInfo_->who().size());
    default:
        return 0;
    }
}

QString SystemStatusViewController::tableViewTitleForHeaderInSection(ui::TableView* tableView,
                                                                     int section) {
    if (section < 0 || section >= SectionCount ||
        tableViewNumberOfRowsInSection(tableView, section) == 0) {
        return {};
    }
    return Resources::text(kSectionHeaderKeys[section]);
}

SystemStatusViewController::Row
SystemStatusViewController::rowAt(const ui::IndexPath& indexPath) const {
    switch (indexPath.section) {
    case UptimeSection:
        return {Resources::text("Uptime"), sysInfo_->uptime()};
    case LoadAvgSection:
        return {loadTitle.value(indexPath.row),
                numberText(appCon_, sysInfo_->loadavg(indexPath.row), 2)};
    case WhoSection:
        if (isNoOneThere_) {
            return {Resources::text("NoLoginUser"), Resources::text("NoIdleTime"), 100};
        }
        if (indexPath.row < sysInfo_->who().size()) {
            const LoginRecord& login = sysInfo_->who().at(indexPath.row);
            return {login.user, login.idle};
        }
        return {};
    default:
        return {};
    }
}

ui::TableViewCell*
SystemStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<SystemStatusTableCell>(kSystemStatusTableCellIdentifier);
    const Row row = rowAt(indexPath);
    cell->title()->setText(row.title);
    cell->value()->setText(row.value);
    cell->setOffset(row.offset);
    return cell;
}

double SystemStatusViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                                    const ui::IndexPath&) {
    return SystemStatusTableCell::kRowHeight;
}

void SystemStatusViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                  const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
}
