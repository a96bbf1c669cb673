#pragma once

#include "platform/ui/TableViewController.h"

#include <QString>

#include <cstdint>

class AppState;
class DiskInfo;
class DiskStatus;
class GraphView;

// The Disk tab's root screen: a snapshot of the mounted disks taken each time the
// screen comes on screen or is refreshed, one section per file system with its mount
// point, type, options, sizes, capacity and a chart of available against used space.
class DiskStatusViewController : public ui::TableViewController {
public:
    static constexpr int kRowCount = 8;
    static constexpr double kChartRowHeight = 113;
    static constexpr double kRowHeight = 28;

    DiskStatusViewController();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void refreshAction();

    AppState* appCon() const { return appCon_; }
    DiskStatus* diskstat() const { return diskstat_; }
    // The row of the chart in every section.
    int32_t rowGraph() const { return rowGraph_; }

    // "System [/dev/disk0s1]" for the system area, "User [/dev/disk0s2]" for the users'
    // area, the device's name for any other.
    static QString headerTitle(const DiskInfo& disk);
    // Shows a file system's available and used megabytes in `graph`, in place of what
    // it showed.
    static void setGraphData(GraphView* graph, const DiskInfo& disk);

    int numberOfSectionsInTableView(ui::TableView*) override;
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*,
                                            const ui::IndexPath& indexPath) override;

private:
    const DiskInfo* diskAt(int section) const;
    QString megabytesText(int64_t kilobytes) const;
    ui::TableViewCell* chartCell(ui::TableView* tableView, const DiskInfo& disk) const;
    ui::TableViewCell* textCell(ui::TableView* tableView, const DiskInfo& disk, int row) const;

    AppState* appCon_;
    DiskStatus* diskstat_;
    int32_t rowGraph_ = 7;
};
