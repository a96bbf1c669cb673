#pragma once

#include "platform/ui/TableViewController.h"
#include "process/ProcessGroups.h"
#include "process/ProcessStatus.h"
#include "process/ProcessStatusMobileUserTableCell.h"
#include "process/ProcessStatusOtherUsersTableCell.h"

#include <QList>

#include <cstdint>
#include <optional>

// The Process tab's root screen: a snapshot of the process table taken each time the
// screen comes on screen or is refreshed, in three sections (main applications, the
// mobile user's processes, the others), each in snapshot order. A row opens the
// process's details.
class ProcessStatusViewController : public ui::TableViewController {
public:
    static constexpr double kRowHeight = 52;

    ProcessStatusViewController();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void refreshAction();
    void buildSectionTableData();
    void removeAllSectionTableData();

    ProcessStatus* pstat() const { return pstat_; }
    const QList<ProcessStatus::Record>& mainApps() const { return mainApps_; }
    const QList<ProcessStatus::Record>& mobileProcs() const { return mobileProcs_; }
    const QList<ProcessStatus::Record>& otherProcs() const { return otherProcs_; }
    // The row that shows the process `pid`, if it is listed.
    std::optional<ui::IndexPath> indexPathOfPID(int32_t pid) const;
    // What the row of a process shows, in the first two sections and in the third.
    ProcessStatusMobileUserTableCell::Data mobileUserRow(const ProcessInfo& info) const;
    ProcessStatusOtherUsersTableCell::Data otherUsersRow(const ProcessInfo& info) const;

    int numberOfSectionsInTableView(ui::TableView*) override { return ProcessGroups::GroupCount; }
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
    const QList<ProcessStatus::Record>* listOf(int section) const;
    ProcessStatus::Record recordAt(const ui::IndexPath& indexPath) const;
    ui::Color nameColorFor(const ProcessInfo& info) const;
    QString ownIconNameFor(const ProcessInfo& info) const;

    ProcessStatus* pstat_;
    // The application's own user and process.
    uint32_t myuid_;
    int32_t mypid_;
    QList<ProcessStatus::Record> mainApps_;
    QList<ProcessStatus::Record> mobileProcs_;
    QList<ProcessStatus::Record> otherProcs_;
};
