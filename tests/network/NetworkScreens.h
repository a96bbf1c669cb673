#pragma once

#include "network/NetworkStatusViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "tests/network/NetworkScreensFixture.h"

#include <memory>

// The Network tab over the screens' fixture host: its root screen on screen in a
// navigation stack inside a tab bar controller, as the application shows it.
class NetworkScreens {
public:
    NetworkScreens() {
        root = new NetworkStatusViewController();
        stack = new ui::NavigationController(root);
        tabs = std::make_unique<ui::TabBarController>();
        tabs->setViewControllers({stack});
        tabs->view();
        tabs->beginAppearanceTransition(true, false);
        tabs->endAppearanceTransition();
    }

    // Taps a row of the screen on top of the stack and returns the screen on top then.
    template <class Screen = ui::ViewController> Screen* tap(const ui::IndexPath& row) {
        auto* shown = dynamic_cast<ui::TableViewController*>(stack->topViewController());
        shown->tableView()->tapRowAtIndexPath(row);
        return dynamic_cast<Screen*>(stack->topViewController());
    }
    template <class Screen> Screen* open(int variousRow) {
        return tap<Screen>({NetworkStatusViewController::VariousSection, variousRow});
    }
    static QString text(ui::ViewController* screen) {
        return dynamic_cast<ui::TableViewController*>(screen)->tableView()->renderText();
    }

    NetworkScreensFixture host;
    std::unique_ptr<ui::TabBarController> tabs;
    ui::NavigationController* stack = nullptr;
    NetworkStatusViewController* root = nullptr;
};
