#pragma once

#include "platform/ui/TableViewController.h"

#include <QString>

#include <cstdint>

class AppState;
class MemoryStatus;
class MemoryStatusGraphView;

// The Memory tab's root screen: a fresh reading of the virtual-memory counters each
// time the screen comes on screen or is refreshed, as a chart of free, active, inactive
// and wired memory, page-in and page-out volumes, fault counters and the object cache.
class MemoryStatusViewController : public ui::TableViewController {
public:
    enum Section { BasicInfoSection = 0, PageInfoSection, DetailInfoSection, CacheInfoSection };
    static constexpr int kSectionCount = 4;
    static constexpr double kChartRowHeight = 113;
    static constexpr double kRowHeight = 28;

    MemoryStatusViewController();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void refreshAction();

    AppState* appCon() const { return appCon_; }
    MemoryStatus* memStat() const { return memStat_; }

    // Whole megabytes of `count` pages (or page-sized events) of `pagesize` bytes, as
    // the device works them out: (count / 1024) × (pagesize / 1024), each division cut
    // off, so 5000 pages of 4 KB are 16 MB, not 19.5.
    static uint64_t megabytes(uint64_t count, uint32_t pagesize);
    // Shows the current reading in `graph`, in place of what it showed.
    void setGraphData(MemoryStatusGraphView* graph) const;

    int numberOfSectionsInTableView(ui::TableView*) override { return kSectionCount; }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*,
                                            const ui::IndexPath& indexPath) override;

private:
    struct Row {
        QString titleKey;
        QString value;
    };
    Row rowAt(const ui::IndexPath& indexPath) const;
    QString megabytesText(uint64_t count) const;
    ui::TableViewCell* chartCell(ui::TableView* tableView) const;

    AppState* appCon_;
    MemoryStatus* memStat_;
};
