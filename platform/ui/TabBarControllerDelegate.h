#pragma once

namespace ui {

class TabBarController;
class ViewController;

// Hears which tab the user chose.
class TabBarControllerDelegate {
public:
    virtual ~TabBarControllerDelegate() = default;
    virtual void tabBarControllerDidSelectViewController(TabBarController* /*tabBarController*/,
                                                         ViewController* /*viewController*/) {}
};

} // namespace ui
