#pragma once

#include "network/NetworkStatus.h"
#include "platform/ui/TableViewController.h"

#include <QList>
#include <QString>

#include <optional>

// The Network tab's root screen: the network interfaces, each opening its details, and
// the routing table and the TCP and UDP socket lists. Each appearance takes a new
// interface snapshot; leaving the screen empties the shared snapshot, which the screens
// opened from here fill again for themselves. The "History" button opens the lookup
// history.
class NetworkStatusViewController : public ui::TableViewController {
public:
    enum Section { InterfaceSection, VariousSection, SectionCount };
    enum VariousRow { RoutingRow, TCPRow, UDPRow, VariousRowCount };
    static constexpr double kRowHeight = 40;

    NetworkStatusViewController();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void historyAction();

    NetworkStatus* netstat() const { return netstat_; }
    // The interfaces shown: the snapshot of the last appearance.
    const QList<NetworkStatus::Interface>& interfaces() const { return interfaces_; }
    std::optional<ui::IndexPath> indexPathOfInterfaceName(const QString& name) const;

    int numberOfSectionsInTableView(ui::TableView*) override { return SectionCount; }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return kRowHeight;
    }
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

private:
    ui::TableViewCell* interfaceCell(ui::TableView* tableView, int row);
    ui::TableViewCell* variousCell(ui::TableView* tableView, int row);
    ui::ViewController* screenForVariousRow(int row) const;

    NetworkStatus* netstat_;
    QList<NetworkStatus::Interface> interfaces_;
};
