#pragma once

#include "platform/ui/TableViewController.h"

// The Process tab's root screen: the process table in its groups.
class ProcessStatusViewController : public ui::TableViewController {
public:
    ProcessStatusViewController();

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override { return 0; }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView*,
                                                      const ui::IndexPath&) override {
        return nullptr;
    }
};
