#pragma once

#include "platform/ui/TableViewController.h"

// The Memory tab's root screen: virtual-memory page counts and counters.
class MemoryStatusViewController : public ui::TableViewController {
public:
    MemoryStatusViewController();

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override { return 0; }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView*,
                                                      const ui::IndexPath&) override {
        return nullptr;
    }
};
