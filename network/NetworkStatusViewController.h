#pragma once

#include "platform/ui/TableViewController.h"

// The Network tab's root screen: the network interfaces and the routing and socket lists.
class NetworkStatusViewController : public ui::TableViewController {
public:
    NetworkStatusViewController();

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override { return 0; }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView*,
                                                      const ui::IndexPath&) override {
        return nullptr;
    }
};
