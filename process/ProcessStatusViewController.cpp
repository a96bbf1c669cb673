#include "process/ProcessStatusViewController.h"

#include "common/Resources.h"
#include "platform/darwin/Darwin.h"
#include "platform/services/PlatformProfile.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "process/ProcessDetailViewController.h"

namespace {

const QString kNoIcon = QStringLiteral("none48.png");
const QString kOwnIcon = QStringLiteral("Ormel.png");

const char* const kSectionHeaderKeys[ProcessGroups::GroupCount] = {"MainApps", "MobileProcs",
                                                                   "OtherProcs"};

} // namespace

ProcessStatusViewController::ProcessStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Plain), pstat_(ProcessStatus::sharedInstance()),
      myuid_(darwin::getuid()), mypid_(darwin::getpid()) {
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

ProcessStatusMobileUserTableCell::Data
ProcessStatusViewController::mobileUserRow(const ProcessInfo& info) const {
    const bool ownUser = info.uid() == myuid_;
    const bool showsMemory = ownUser && !info.isZombie();
    return {info.name(),
            ProcessStatus::stringWithUptime(info.starttime()),
            nameColorFor(info),
            ownUser,
            showsMemory ? ProcessStatus::stringWithOccupiedMemoryForPID(info.pid()) : QString(),
            ownUser ? ownIconNameFor(info) : kNoIcon};
}

ui::Color ProcessStatusViewController::nameColorFor(const ProcessInfo& info) const {
    if (info.isZombie()) {
        return ProcessStatusMobileUserTableCell::kZombieColor;
    }
    if (info.pid() == mypid_) {
        return ProcessStatusMobileUserTableCell::kOwnProcessColor;
    }
    if (info.uid() == myuid_) {
        return ProcessStatusMobileUserTableCell::kOwnUserColor;
    }
    return ui::Color::black();
}

QString ProcessStatusViewController::ownIconNameFor(const ProcessInfo& info) const {
    const QString application =
        ProcessGroups::iconNameOf(ProcessGroups::mainApplicationOf(info.name()));
    if (!application.isEmpty()) {
        return application;
    }
    return info.pid() == mypid_ ? kOwnIcon : kNoIcon;
}

ProcessStatusOtherUsersTableCell::Data
ProcessStatusViewController::otherUsersRow(const ProcessInfo& info) const {
    const bool superuser = info.uid() == 0 || info.user() == QLatin1String("root");
    return {info.name(),
            info.user(),
            ProcessStatus::stringWithUptime(info.starttime()),
            QString::asprintf("PID: %d", info.pid()),
            QString::asprintf("PPID: %d", info.ppid()),
            info.isZombie() ? ProcessStatusOtherUsersTableCell::kZombieColor : ui::Color::black(),
            superuser ? ProcessStatusOtherUsersTableCell::kSuperuserColor : ui::Color::black()};
}

ui::TableViewCell*
ProcessStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
    const ProcessStatus::Record record = recordAt(indexPath);
    if (indexPath.section == ProcessGroups::OtherProcs) {
        auto* cell = tableView->dequeueReusableCell<ProcessStatusOtherUsersTableCell>(
            kProcessStatusOtherUsersTableCellIdentifier);
        if (record != nullptr) {
            cell->setLabel(otherUsersRow(*record));
        }
        return cell;
    }
    auto* cell = tableView->dequeueReusableCell<ProcessStatusMobileUserTableCell>(
        kProcessStatusMobileUserTableCellIdentifier);
    if (record != nullptr) {
        cell->setLabel(mobileUserRow(*record));
    }
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
