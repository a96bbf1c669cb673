#pragma once

#include "network/InterfaceInfo.h"
#include "network/NetworkStatusTableCell.h"
#include "platform/ui/TableViewController.h"

#include <QList>
#include <QString>

#include <cstdint>

class AppState;

// One network interface as title/value rows: name, type, its IPv4 addresses, MTU,
// link-level address and packet counters. The screen keeps its own record; its rows
// are built once, when its view is loaded.
class NetworkInterfaceDetailViewController : public ui::TableViewController {
public:
    NetworkInterfaceDetailViewController();

    void setInfo(const InterfaceInfo& info) { info_ = info; }
    const InterfaceInfo& info() const { return info_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidUnload() override;
    void buildInfoData();
    QString buildTypeInfo(uint8_t type) const;
    void buildAddrInfo(const QString& name);

    const QList<NetworkStatusTableCell::Data>& dataCells() const { return dataCells_; }

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;

private:
    void addRow(const char* titleKey, const QString& value);
    void addCounterRow(const char* titleKey, uint64_t count);

    AppState* appCon_;
    QList<NetworkStatusTableCell::Data> dataCells_;
    InterfaceInfo info_;
};
