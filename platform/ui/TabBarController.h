#pragma once

#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarControllerDelegate.h"
#include "platform/ui/ViewController.h"

#include <QPointer>

class QStackedLayout;

namespace ui {

// Screens side by side, one shown at a time, chosen with the tab bar at the bottom.
// Owns its controllers.
class TabBarController : public ViewController {
    Q_OBJECT

public:
    TabBarController();

    // Takes ownership of the controllers; the previous ones are deleted later.
    void setViewControllers(const QList<ViewController*>& controllers);
    QList<ViewController*> viewControllers() const { return controllers_; }
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    ViewController* selectedViewController() const;
    void setSelectedViewController(ViewController* controller);
    void setDelegate(TabBarControllerDelegate* delegate) { delegate_ = delegate; }
    TabBarControllerDelegate* delegate() const { return delegate_; }

    TabBar* tabBar();
    // Hides the tab bar while the selected navigation stack's top screen asks for it.
    void updateTabBarVisibility();
    // The items or their titles changed.
    void refreshTabBar();

    void loadView() override;
    void didReceiveMemoryWarning() override;

protected:
    QList<ViewController*> childViewControllersForAppearance() const override;

private:
    void userSelected(int index);
    void showSelected();

    QList<ViewController*> controllers_;
    int selected_ = -1;
    TabBarControllerDelegate* delegate_ = nullptr;
    QPointer<TabBar> tabBar_;
    QPointer<QStackedLayout> content_;
};

} // namespace ui
