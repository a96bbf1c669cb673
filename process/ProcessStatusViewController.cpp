#include "process/ProcessStatusViewController.h"

#include "common/Resources.h"
#include "platform/services/PlatformProfile.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "process/ProcessDetailViewController.h"
#include "process/ProcessStatusMobileUserTableCell.h"
#include "process/ProcessStatusOtherUsersTableCell.h"

namespace {

// Room left below the table for the tab bar, in points.

const char* const kSectionHeaderKeys[ProcessGroups::GroupCount] = {"MainApps", "MobileProcs",
                                                                   "OtherProcs"};

} // namespace

ProcessStatusViewController::ProcessStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Plain), pstat_(ProcessStatus::sharedInstance()) {
    setTitle(Resources::text("ProcessStatus"));
}

void ProcessStatusViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    navigationItem()->setBackBarButtonTitle(Resources::text("Back"));
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
}

void ProcessStatusViewController::viewWillAppear(bool /*animated*/) {
    refreshAction();
}

void ProcessStatusViewController::viewWillDisappear(bool /*animated*/) {
    removeAllSectionTableData();
    pstat_->removeAllData();
    // The table must not keep rows whose records are gone.
    tableView()->reloadData();
}

void ProcessStatusViewController::refreshAction() {
    pstat_->snapshot();
    buildSectionTableData();
    tableView()->reloadData();
}

void ProcessStatusViewController::buildSectionTableData() {
    removeAllSectionTableData();
    const uint32_t sessionUid = services::PlatformProfile::desktopSessionUid();
    for (const ProcessStatus::Record& record : pstat_->info()) {
        switch (ProcessGroups::groupOf(*record, sessionUid)) {
        case ProcessGroups::MainApps:
            mainApps_.append(record);
            break;
        case ProcessGroups::MobileProcs:
            mobileProcs_.append(record);
            break;
        default:
            otherProcs_.append(record);
            break;
        }
    }
}

void ProcessStatusViewController::removeAllSectionTableData() {
    mainApps_.clear();
    mobileProcs_.clear();
    otherProcs_.clear();
}

const QList<ProcessStatus::Record>* ProcessStatusViewController::listOf(int section) const {
    switch (section) {
    case ProcessGroups::MainApps:
        return &mainApps_;
    case ProcessGroups::MobileProcs:
        return &mobileProcs_;
    case ProcessGroups::OtherProcs:
        return &otherProcs_;
    default:
        return nullptr;
    }
}

ProcessStatus::Record ProcessStatusViewController::recordAt(const ui::IndexPath& indexPath) const {
    const QList<ProcessStatus::Record>* list = listOf(indexPath.section);
    return list != nullptr ? list->value(indexPath.row) : nullptr;
}

std::optional<ui::IndexPath> ProcessStatusViewController::indexPathOfPID(int32_t pid) const {
    for (int section = 0; section < ProcessGroups::GroupCount; ++section) {
        const QList<ProcessStatus::Record>& list = *listOf(section);
        for (int row = 0; row < list.size(); ++row) {
            if (list[row]->pid() == pid) {
                return ui::IndexPath{section, row};
            }
        }
    }
    return std::nullopt;
}

int ProcessStatusViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    const QList<ProcessStatus::Record>* list = listOf(section);
    return list != nullptr ? static_cast<int>(list->size()) : 0;
}

QString ProcessStatusViewController::tableViewTitleForHeaderInSection(ui::TableView*, int section) {
    if (section < 0 || section >= ProcessGroups::GroupCount) {
        return {};
    }
    return Resources::text(kSectionHeaderKeys[section]);
}

ui::TableViewCell*
ProcessStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
    const ProcessStatus::Record record = recordAt(indexPath);
    if (indexPath.section == ProcessGroups::OtherProcs) {
        auto* cell = tableView->dequeueReusableCell<ProcessStatusOtherUsersTableCell>(
            kProcessStatusOtherUsersTableCellIdentifier);
        cell->setLabel(record);
        return cell;
    }
    auto* cell = tableView->dequeueReusableCell<ProcessStatusMobileUserTableCell>(
        kProcessStatusMobileUserTableCellIdentifier);
    cell->setLabel(record);
    return cell;
}

void ProcessStatusViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                   const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    const ProcessStatus::Record record = recordAt(indexPath);
    ui::NavigationController* navigation = navigationController();
    if (record == nullptr || navigation == nullptr) {
        return;
    }
    auto* detail = new ProcessDetailViewController();
    detail->setInfo(record);
    // The kit reads the flag of the screen on top of the stack; the list's own flag is
    // switched on around the push as the device code does it.
    detail->setHidesBottomBarWhenPushed(true);
    setHidesBottomBarWhenPushed(true);
    navigation->pushViewControllerAnimated(detail, true);
    setHidesBottomBarWhenPushed(false);
}
