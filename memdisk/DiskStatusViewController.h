#pragma once

#include "platform/ui/TableViewController.h"

// The Disk tab's root screen: the mounted file systems.
class DiskStatusViewController : public ui::TableViewController {
public:
    DiskStatusViewController();

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override { return 0; }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView*,
                                                      const ui::IndexPath&) override {
        return nullptr;
    }
};
