#pragma once

#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TableViewController.h"

#include <QList>

#include <cstdint>

class HistoryDB;

namespace ui {
class BarButtonItem;
class SegmentedControl;
class Toolbar;
} // namespace ui

// The lookup history: one row per recorded address (flag, address, country), most
// counted or most recently updated first as the toolbar's segments choose. A row opens
// the address's details; a swipe deletes it, "DeleteAll" deletes every row once the
// user confirms. The rows are read again each time the screen appears.
class HistoryViewController : public ui::TableViewController, public ui::AlertViewDelegate {
public:
    static constexpr double kRowHeight = 40;
    static constexpr int OrderByCount = 0;
    static constexpr int OrderByDate = 1;

    explicit HistoryViewController(HistoryDB* historydb = nullptr);

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void loadData();
    void segmentAction();
    void deleteAllAction();

    int orderBy() const { return orderBy_; }
    // The row ids in the order shown; a cell reads its row when the table asks for it.
    const QList<int32_t>& ids() const { return ids_; }
    ui::SegmentedControl* segmentedControl() const { return segment_; }
    ui::Toolbar* toolbar() const { return toolbar_; }
    ui::BarButtonItem* deleteAllButton() const { return deleteAll_; }

    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return kRowHeight;
    }
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;
    bool tableViewCanEditRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return true;
    }
    void tableViewCommitEditingStyleForRowAtIndexPath(ui::TableView* tableView,
                                                      ui::TableViewCellEditingStyle style,
                                                      const ui::IndexPath& indexPath) override;

    void alertViewClickedButtonAtIndex(ui::AlertView* alertView, int buttonIndex) override;

private:
    int32_t pkeyAt(int row) const;

    HistoryDB* historydb_;
    int orderBy_ = OrderByCount;
    QList<int32_t> ids_;
    ui::Toolbar* toolbar_ = nullptr;
    ui::SegmentedControl* segment_ = nullptr;
    ui::BarButtonItem* deleteAll_ = nullptr;
};
