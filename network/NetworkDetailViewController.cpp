#include "network/NetworkDetailViewController.h"

#include "common/AppState.h"
#include "common/Resources.h"
#include "network/NetworkLookupScreens.h"
#include "network/NetworkNavigation.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "registry/TarnelDB.h"

NetworkDetailViewController::NetworkDetailViewController(const char* titleKey)
    : appCon_(AppState::ofSharedApplication()), tarnel_(TarnelDB::sharedInstance()) {
    setTitle(Resources::text(titleKey));
}

void NetworkDetailViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    buildInfoData();
    navigationItem()->setBackBarButtonTitle(Resources::text("Back"));
}

void NetworkDetailViewController::viewWillAppear(bool /*animated*/) {
    tableView()->reloadData();
}

void NetworkDetailViewController::viewDidUnload() {
    dataCells_.clear();
    ui::TableViewController::viewDidUnload();
}

void NetworkDetailViewController::appendRow(const QString& title, const QString& value) {
    dataCells_.append({title, value, kTitleColor});
}

void NetworkDetailViewController::buildDestinationRow(const QString& destination) {
    if (!tarnel_->ready()) {
        destData_.reset();
        buildDestinationIso3166(destination, QString());
        return;
    }
    destData_ = tarnel_->search(destination);
    buildDestinationIso3166(destination, destData_->value(0));
}

void NetworkDetailViewController::buildDestinationIso3166(const QString& destination,
                                                          const QString& iso3166) {
    appendRow(Resources::text("Destination"),
              iso3166.isEmpty() ? destination
                                : QStringLiteral("%1 [%2]").arg(destination, iso3166));
}

int NetworkDetailViewController::tableViewNumberOfRowsInSection(ui::TableView*, int) {
    return static_cast<int>(dataCells_.size());
}

ui::TableViewCell*
NetworkDetailViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<NetworkStatusTableCell>(kNetworkStatusTableCellIdentifier);
    cell->setOffset(kCellOffset);
    cell->setHeight(kRowHeight);
    cell->setLabel(dataCells_.value(indexPath.row));
    cell->setAccessoryType(indexPath.row == 0 && leadsToDestination()
                               ? ui::TableViewCellAccessoryType::DisclosureIndicator
                               : ui::TableViewCellAccessoryType::None);
    return cell;
}

void NetworkDetailViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                   const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    if (indexPath.row != 0 || !leadsToDestination()) {
        return;
    }
    if (ui::ViewController* destination =
            NetworkLookupScreens::destinationScreen(destinationAddress(), *destData_)) {
        pushHidingBottomBar(this, destination);
    }
}
