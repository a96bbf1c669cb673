#pragma once

#include "network/NetworkRoutingTableCellDelegate.h"
#include "network/NetworkStatus.h"
#include "platform/ui/TableViewController.h"

#include <QList>

// The routing table: one row per route with the flag of its destination's country.
// Each appearance and each refresh takes a new routing snapshot; leaving the screen
// empties the shared snapshot. A row opens the route's details; a flag opens the
// registry's lookup popup for the destination.
class NetworkRoutingViewController : public ui::TableViewController,
                                     public NetworkRoutingTableCellDelegate {
public:
    NetworkRoutingViewController();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void refreshAction();

    NetworkStatus* netstat() const { return netstat_; }
    // The routes shown: the snapshot of the last appearance or refresh.
    const QList<NetworkStatus::Route>& routes() const { return routes_; }

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;
    void networkRoutingTableCellDestination(NetworkRoutingTableCell* cell,
                                            const QString& destination) override;

private:
    NetworkStatus* netstat_;
    QList<NetworkStatus::Route> routes_;
};
