#include "network/NetworkStatusViewController.h"

#include "common/Resources.h"
#include "network/NetworkInterfaceDetailViewController.h"
#include "network/NetworkInterfaceTableCell.h"
#include "network/NetworkLookupScreens.h"
#include "network/NetworkNavigation.h"
#include "network/NetworkRoutingViewController.h"
#include "network/TCPStatusViewController.h"
#include "network/UDPStatusViewController.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

namespace {

const QString kDefaultTableCellIdentifier = QStringLiteral("DefaultTableCellIdentifier");

const char* const kSectionHeaderKeys[NetworkStatusViewController::SectionCount] = {
    "InterfaceInfo", "VariousNetInfo"};
const char* const kVariousRowKeys[NetworkStatusViewController::VariousRowCount] = {
    "RoutingInfo", "TCPStatus", "UDPStatus"};

} // namespace

NetworkStatusViewController::NetworkStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped),
      netstat_(NetworkStatus::sharedInstance()) {
    setTitle(Resources::text("NetworkStatus"));
}

void NetworkStatusViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    navigationItem()->setRightBarButtonItem(new ui::BarButtonItem(
        Resources::text("History"), ui::BarButtonItemStyle::Bordered, [this] { historyAction(); }));
    navigationItem()->setBackBarButtonTitle(Resources::text("Back"));
}

void NetworkStatusViewController::viewWillAppear(bool /*animated*/) {
    netstat_->snapshotOfInterface2();
    // The screen keeps its own list, so that a snapshot taken elsewhere never changes
    // the rows the table has counted.
    interfaces_ = netstat_->interface();
    tableView()->reloadData();
}

void NetworkStatusViewController::viewWillDisappear(bool /*animated*/) {
    netstat_->removeAllData();
}

void NetworkStatusViewController::historyAction() {
    ui::ViewController* history = NetworkLookupScreens::historyScreen();
    ui::NavigationController* navigation = navigationController();
    if (history == nullptr || navigation == nullptr) {
        delete history;
        return;
    }
    auto* stack = new ui::NavigationController(history);
    stack->navigationBar()->setBarStyle(ui::BarStyle::Black);
    stack->setModalTransitionStyle(ui::ModalTransitionStyle::FlipHorizontal);
    navigation->presentModalViewControllerAnimated(stack, true);
}

std::optional<ui::IndexPath>
NetworkStatusViewController::indexPathOfInterfaceName(const QString& name) const {
    for (int row = 0; row < interfaces_.size(); ++row) {
        if (interfaces_[row]->name == name) {
            return ui::IndexPath{InterfaceSection, row};
        }
    }
    return std::nullopt;
}

int NetworkStatusViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    switch (section) {
    case InterfaceSection:
        return static_cast<int>(interfaces_.size());
    case VariousSection:
        return VariousRowCount;
    default:
        return 0;
    }
}

QString NetworkStatusViewController::tableViewTitleForHeaderInSection(ui::TableView*, int section) {
    if (section < 0 || section >= SectionCount) {
        return {};
    }
    return Resources::text(kSectionHeaderKeys[section]);
}

ui::TableViewCell*
NetworkStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
    return indexPath.section == InterfaceSection ? interfaceCell(tableView, indexPath.row)
                                                 : variousCell(tableView, indexPath.row);
}

ui::TableViewCell* NetworkStatusViewController::interfaceCell(ui::TableView* tableView, int row) {
    auto* cell = tableView->dequeueReusableCell<NetworkInterfaceTableCell>(
        kNetworkInterfaceTableCellIdentifier);
    if (row < interfaces_.size()) {
        cell->setLabel(*interfaces_[row]);
    }
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    return cell;
}

ui::TableViewCell* NetworkStatusViewController::variousCell(ui::TableView* tableView, int row) {
    auto* cell = tableView->dequeueReusableCell<ui::TableViewCell>(kDefaultTableCellIdentifier);
    cell->textLabel()->setFont(ui::boldSystemFontOfSize(14));
    cell->textLabel()->setText(
        row >= 0 && row < VariousRowCount ? Resources::text(kVariousRowKeys[row]) : QString());
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    return cell;
}

ui::ViewController* NetworkStatusViewController::screenForVariousRow(int row) const {
    switch (row) {
    case RoutingRow:
        return new NetworkRoutingViewController();
    case TCPRow:
        return new TCPStatusViewController();
    case UDPRow:
        return new UDPStatusViewController();
    default:
        return nullptr;
    }
}

void NetworkStatusViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                   const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    ui::ViewController* screen = nullptr;
    if (indexPath.section == InterfaceSection && indexPath.row < interfaces_.size()) {
        auto* detail = new NetworkInterfaceDetailViewController();
        detail->setInfo(*interfaces_[indexPath.row]);
        screen = detail;
    } else if (indexPath.section == VariousSection) {
        screen = screenForVariousRow(indexPath.row);
    }
    if (screen != nullptr) {
        pushHidingBottomBar(this, screen);
    }
}
