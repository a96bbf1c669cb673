#include "platform/ui/NavigationController.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"

#include <QStackedLayout>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr double kStackBarHeight = 44;
}

NavigationController::NavigationController(ViewController* root) {
    if (root != nullptr) {
        addChildViewController(root);
        stack_.append(root);
    }
}

ViewController* NavigationController::topViewController() const {
    return stack_.isEmpty() ? nullptr : stack_.last();
}

ViewController* NavigationController::visibleViewController() const {
    ViewController* top = topViewController();
    if (top != nullptr && top->modalViewController() != nullptr) {
        return top->modalViewController();
    }
    return top;
}

NavigationBar* NavigationController::navigationBar() {
    view();
    return bar_;
}

void NavigationController::setNavigationBarHiddenAnimated(bool hidden, bool /*animated*/) {
    barHidden_ = hidden;
    if (bar_) {
        bar_->setVisible(!hidden);
    }
}

void NavigationController::loadView() {
    auto* view = new QWidget;
    setFrame(view, Screen::bounds());
    auto* column = new QVBoxLayout(view);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    bar_ = new NavigationBar(view);
    bar_->setFixedHeight(Screen::px(kStackBarHeight));
    bar_->setBarStyle(barStyle_);
    bar_->setVisible(!barHidden_);
    bar_->setBackAction([this] { popViewControllerAnimated(true); });
    column->addWidget(bar_);
    auto* content = new QWidget(view);
    content_ = new QStackedLayout(content);
    column->addWidget(content, 1);
    setView(view);
    showTop();
}

void NavigationController::didReceiveMemoryWarning() {
    for (ViewController* controller : stack_) {
        controller->didReceiveMemoryWarning();
    }
    ViewController::didReceiveMemoryWarning();
}

QList<ViewController*> NavigationController::childViewControllersForAppearance() const {
    if (ViewController* top = topViewController()) {
        return {top};
    }
    return {};
}

QString NavigationController::backTitleFor(int index) const {
    if (index <= 0 || index >= stack_.size()) {
        return {};
    }
    NavigationItem* previous = stack_[index - 1]->navigationItem();
    if (!previous->backBarButtonTitle().isEmpty()) {
        return previous->backBarButtonTitle();
    }
    if (!previous->title().isEmpty()) {
        return previous->title();
    }
    return QStringLiteral("Back");
}

void NavigationController::updateBar() {
    if (!bar_) {
        return;
    }
    for (ViewController* controller : stack_) {
        controller->navigationItem()->setChangeHandler(nullptr);
    }
    const int top = static_cast<int>(stack_.size()) - 1;
    if (top < 0) {
        bar_->showItem(nullptr, {});
        return;
    }
    // The top item and the one below it (whose back title shows) can change the bar.
    auto refresh = [this] { updateBar(); };
    stack_[top]->navigationItem()->setChangeHandler(refresh);
    if (top > 0) {
        stack_[top - 1]->navigationItem()->setChangeHandler(refresh);
    }
    bar_->showItem(stack_[top]->navigationItem(), backTitleFor(top));
}

void NavigationController::showTop() {
    if (!content_) {
        return;
    }
    if (ViewController* top = topViewController()) {
        QWidget* shown = top->view();
        if (content_->indexOf(shown) < 0) {
            content_->addWidget(shown);
        }
        content_->setCurrentWidget(shown);
    }
    updateBar();
    if (TabBarController* tabs = tabBarController()) {
        tabs->updateTabBarVisibility();
    }
}

void NavigationController::takeOff(ViewController* controller) {
    controller->navigationItem()->setChangeHandler(nullptr);
    if (content_ && controller->isViewLoaded()) {
        content_->removeWidget(controller->view());
        controller->view()->hide();
    }
    controller->removeFromParentViewController();
    controller->deleteLater();
}

void NavigationController::replaceTop(const std::function<void()>& changeStack, bool animated) {
    ViewController* before = topViewController();
    const bool onScreen = isOnScreen();
    changeStack();
    ViewController* after = topViewController();
    if (before == after) {
        showTop();
        return;
    }
    if (onScreen && before != nullptr) {
        before->beginAppearanceTransition(false, animated);
    }
    if (onScreen && after != nullptr) {
        after->beginAppearanceTransition(true, animated);
    }
    showTop();
    if (onScreen && before != nullptr) {
        before->endAppearanceTransition();
    }
    if (onScreen && after != nullptr) {
        after->endAppearanceTransition();
    }
}

void NavigationController::pushViewControllerAnimated(ViewController* controller, bool animated) {
    if (controller == nullptr || stack_.contains(controller)) {
        return;
    }
    replaceTop(
        [&] {
            addChildViewController(controller);
            stack_.append(controller);
        },
        animated);
}

ViewController* NavigationController::popViewControllerAnimated(bool animated) {
    if (stack_.size() <= 1) {
        return nullptr;
    }
    ViewController* popped = stack_.last();
    replaceTop([&] { stack_.removeLast(); }, animated);
    takeOff(popped);
    return popped;
}

QList<ViewController*> NavigationController::popToRootViewControllerAnimated(bool animated) {
    QList<ViewController*> popped;
    if (stack_.size() <= 1) {
        return popped;
    }
    popped = stack_.mid(1);
    replaceTop([&] { stack_.resize(1); }, animated);
    for (ViewController* controller : popped) {
        takeOff(controller);
    }
    return popped;
}

} // namespace ui
