#include "network/NetworkRoutingViewController.h"

#include "common/Resources.h"
#include "network/NetworkLookupScreens.h"
#include "network/NetworkNavigation.h"
#include "network/NetworkRoutingDetailViewController.h"
#include "network/NetworkRoutingTableCell.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

NetworkRoutingViewController::NetworkRoutingViewController()
    : netstat_(NetworkStatus::sharedInstance()) {
    setTitle(Resources::text("NetworkRouting"));
}

void NetworkRoutingViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    navigationItem()->setBackBarButtonTitle(Resources::text("Back"));
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
}

void NetworkRoutingViewController::viewWillAppear(bool /*animated*/) {
    netstat_->snapshotOfRouting();
    routes_ = netstat_->routing();
    tableView()->reloadData();
}

void NetworkRoutingViewController::viewWillDisappear(bool /*animated*/) {
    netstat_->removeAllData();
}

void NetworkRoutingViewController::refreshAction() {
    viewWillAppear(false);
}

int NetworkRoutingViewController::tableViewNumberOfRowsInSection(ui::TableView*, int) {
    return static_cast<int>(routes_.size());
}

double NetworkRoutingViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                                      const ui::IndexPath&) {
    return NetworkRoutingTableCell::kRowHeight;
}

ui::TableViewCell*
NetworkRoutingViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                             const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<NetworkRoutingTableCell>(kNetworkRoutingTableCellIdentifier);
    cell->setDelegate(this);
    if (indexPath.row < routes_.size()) {
        cell->setLabel(*routes_[indexPath.row]);
    }
    return cell;
}

void NetworkRoutingViewController::tableViewDidSelectRowAtIndexPath(
    ui::TableView* tableView, const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    if (indexPath.row >= routes_.size()) {
        return;
    }
    auto* detail = new NetworkRoutingDetailViewController();
    detail->setInfo(*routes_[indexPath.row]);
    pushHidingBottomBar(this, detail);
}

void NetworkRoutingViewController::networkRoutingTableCellDestination(NetworkRoutingTableCell*,
                                                                      const QString& destination) {
    NetworkLookupScreens::showLookupPopup(destination, view()->window());
}
