#include "platform/ui/TabBarController.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarItem.h"

#include <QStackedLayout>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr double kTabBarHeight = 49;
}

TabBarController::TabBarController() = default;

void TabBarController::setViewControllers(const QList<ViewController*>& controllers) {
    const bool onScreen = isOnScreen();
    ViewController* before = selectedViewController();
    if (onScreen && before != nullptr) {
        before->beginAppearanceTransition(false, false);
    }
    const QList<ViewController*> previous = controllers_;
    controllers_.clear();
    for (ViewController* controller : controllers) {
        if (controller != nullptr) {
            addChildViewController(controller);
            controllers_.append(controller);
        }
    }
    selected_ = controllers_.isEmpty() ? -1 : 0;
    ViewController* after = selectedViewController();
    if (onScreen && after != nullptr) {
        after->beginAppearanceTransition(true, false);
    }
    refreshTabBar();
    showSelected();
    if (onScreen && before != nullptr) {
        before->endAppearanceTransition();
    }
    if (onScreen && after != nullptr) {
        after->endAppearanceTransition();
    }
    for (ViewController* old : previous) {
        if (!controllers_.contains(old)) {
            old->removeFromParentViewController();
            old->deleteLater();
        }
    }
}

ViewController* TabBarController::selectedViewController() const {
    return selected_ >= 0 && selected_ < controllers_.size() ? controllers_[selected_] : nullptr;
}

void TabBarController::setSelectedViewController(ViewController* controller) {
    setSelectedIndex(static_cast<int>(controllers_.indexOf(controller)));
}

void TabBarController::setSelectedIndex(int index) {
    if (index < 0 || index >= controllers_.size() || index == selected_) {
        return;
    }
    const bool onScreen = isOnScreen();
    ViewController* before = selectedViewController();
    ViewController* after = controllers_[index];
    if (onScreen && before != nullptr) {
        before->beginAppearanceTransition(false, false);
    }
    if (onScreen) {
        after->beginAppearanceTransition(true, false);
    }
    selected_ = index;
    showSelected();
    if (onScreen && before != nullptr) {
        before->endAppearanceTransition();
    }
    if (onScreen) {
        after->endAppearanceTransition();
    }
}

void TabBarController::userSelected(int index) {
    if (index == selected_) {
        // A second touch on the selected tab takes its navigation stack back to the root.
        if (auto* navigation = qobject_cast<NavigationController*>(selectedViewController())) {
            navigation->popToRootViewControllerAnimated(true);
        }
        return;
    }
    setSelectedIndex(index);
    if (delegate_ != nullptr) {
        delegate_->tabBarControllerDidSelectViewController(this, selectedViewController());
    }
}

TabBar* TabBarController::tabBar() {
    view();
    return tabBar_;
}

void TabBarController::refreshTabBar() {
    if (!tabBar_) {
        return;
    }
    QList<TabBarItem*> items;
    for (ViewController* controller : controllers_) {
        items.append(controller->tabBarItem());
    }
    tabBar_->setItems(items);
    tabBar_->setSelectedIndex(selected_);
}

void TabBarController::updateTabBarVisibility() {
    if (!tabBar_) {
        return;
    }
    auto* navigation = qobject_cast<NavigationController*>(selectedViewController());
    ViewController* top = navigation != nullptr ? navigation->topViewController() : nullptr;
    const bool hide = top != nullptr && top->hidesBottomBarWhenPushed();
    tabBar_->setVisible(!hide);
}

void TabBarController::showSelected() {
    if (!content_) {
        return;
    }
    if (ViewController* shown = selectedViewController()) {
        QWidget* view = shown->view();
        if (content_->indexOf(view) < 0) {
            content_->addWidget(view);
        }
        content_->setCurrentWidget(view);
    }
    if (tabBar_) {
        tabBar_->setSelectedIndex(selected_);
    }
    updateTabBarVisibility();
}

void TabBarController::loadView() {
    auto* view = new QWidget;
    setFrame(view, Screen::bounds());
    auto* column = new QVBoxLayout(view);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* content = new QWidget(view);
    content_ = new QStackedLayout(content);
    column->addWidget(content, 1);
    tabBar_ = new TabBar(view);
    tabBar_->setFixedHeight(Screen::px(kTabBarHeight));
    tabBar_->setSelectionHandler([this](int index) { userSelected(index); });
    column->addWidget(tabBar_);
    setView(view);
    refreshTabBar();
    showSelected();
}

void TabBarController::didReceiveMemoryWarning() {
    for (ViewController* controller : controllers_) {
        controller->didReceiveMemoryWarning();
    }
    ViewController::didReceiveMemoryWarning();
}

QList<ViewController*> TabBarController::childViewControllersForAppearance() const {
    if (ViewController* shown = selectedViewController()) {
        return {shown};
    }
    return {};
}

} // namespace ui
