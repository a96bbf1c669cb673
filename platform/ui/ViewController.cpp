#include "platform/ui/ViewController.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/ViewFitter.h"
#include "platform/ui/Window.h"

#include <QVariant>

namespace ui {

namespace {
const char* const kControllerProperty = "ui_viewController";
} // namespace

ViewController::ViewController() = default;

ViewController::~ViewController() {
    if (presenter_ && presenter_->modal_ == this) {
        presenter_->modal_ = nullptr;
    }
    delete view_.data();
}

QWidget* ViewController::view() {
    if (view_.isNull()) {
        loadView();
        if (view_.isNull()) {
            setView(new QWidget);
        }
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(QWidget* view) {
    if (view == view_) {
        return;
    }
    // A view that becomes part of the new one (or contains it) stays alive.
    const bool related =
        view != nullptr && view_ && (view->isAncestorOf(view_) || view_->isAncestorOf(view));
    if (!related) {
        delete view_.data();
    }
    view_ = view;
    if (view != nullptr) {
        view->setProperty(kControllerProperty, QVariant::fromValue<QObject*>(this));
    }
}

ViewController* ViewController::viewControllerForView(const QWidget* view) {
    if (view == nullptr) {
        return nullptr;
    }
    return qobject_cast<ViewController*>(view->property(kControllerProperty).value<QObject*>());
}

void ViewController::loadView() {
    auto* view = new QWidget;
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, Qt::white);
    view->setPalette(palette);
    setFrame(view, Screen::bounds());
    setView(view);
}

void ViewController::didReceiveMemoryWarning() {
    if (modal_) {
        modal_->didReceiveMemoryWarning();
    }
    const bool offScreen = appearance_ == AppearanceState::Disappeared;
    if (view_ && offScreen && !view_->isVisible()) {
        unloadView();
    }
}

void ViewController::unloadView() {
    delete view_.data();
    view_ = nullptr;
    viewDidUnload();
}

void ViewController::setTitle(const QString& title) {
    title_ = title;
    navigationItem()->setTitle(title);
    if (tabBarItemFollowsTitle_ && tabBarItem_) {
        tabBarItem_->setTitle(title);
    }
    if (TabBarController* tabs = tabBarController(); tabs != nullptr && tabs->isViewLoaded()) {
        tabs->tabBar()->update();
    }
}

NavigationItem* ViewController::navigationItem() {
    if (!navigationItem_) {
        navigationItem_ = std::make_unique<NavigationItem>(title_);
    }
    return navigationItem_.get();
}

TabBarItem* ViewController::tabBarItem() {
    if (!tabBarItem_) {
        tabBarItem_ = std::make_unique<TabBarItem>(title_, Image(), 0);
    }
    return tabBarItem_.get();
}

void ViewController::setTabBarItem(TabBarItem* item) {
    tabBarItem_.reset(item);
    tabBarItemFollowsTitle_ = false;
    if (TabBarController* tabs = tabBarController(); tabs != nullptr) {
        tabs->refreshTabBar();
    }
}

NavigationController* ViewController::navigationController() const {
    for (ViewController* up = parent_; up != nullptr; up = up->parent_) {
        if (auto* navigation = qobject_cast<NavigationController*>(up)) {
            return navigation;
        }
    }
    return nullptr;
}

TabBarController* ViewController::tabBarController() const {
    for (ViewController* up = parent_; up != nullptr; up = up->parent_) {
        if (auto* tabs = qobject_cast<TabBarController*>(up)) {
            return tabs;
        }
    }
    return nullptr;
}

ViewController* ViewController::parentViewController() const {
    return parent_ ? parent_.data() : presenter_.data();
}

void ViewController::addChildViewController(ViewController* child) {
    if (child == nullptr || child == this) {
        return;
    }
    child->setParent(this);
    child->parent_ = this;
}

void ViewController::removeFromParentViewController() {
    parent_ = nullptr;
}

ViewController* ViewController::containerRoot() {
    ViewController* root = this;
    while (root->parent_) {
        root = root->parent_;
    }
    return root;
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
    if (appearing) {
        if (appearance_ == AppearanceState::Appearing || appearance_ == AppearanceState::Appeared) {
            return;
        }
        view();
        appearance_ = AppearanceState::Appearing;
        transitionAnimated_ = animated;
        appearanceWillBegin(true);
        viewWillAppear(animated);
    } else {
        if (appearance_ == AppearanceState::Disappearing ||
            appearance_ == AppearanceState::Disappeared) {
            return;
        }
        appearance_ = AppearanceState::Disappearing;
        transitionAnimated_ = animated;
        appearanceWillBegin(false);
        viewWillDisappear(animated);
    }
    for (ViewController* child : childViewControllersForAppearance()) {
        child->beginAppearanceTransition(appearing, animated);
    }
}

void ViewController::endAppearanceTransition() {
    const bool animated = transitionAnimated_;
    if (appearance_ == AppearanceState::Appearing) {
        appearance_ = AppearanceState::Appeared;
        viewDidAppear(animated);
        appearanceDidEnd(true);
    } else if (appearance_ == AppearanceState::Disappearing) {
        appearance_ = AppearanceState::Disappeared;
        viewDidDisappear(animated);
        appearanceDidEnd(false);
    } else {
        return;
    }
    for (ViewController* child : childViewControllersForAppearance()) {
        // A child that came in while this one was on its way may have missed the start.
        const bool missedStart = appearance_ == AppearanceState::Appeared &&
                                 child->appearance_ == AppearanceState::Disappeared;
        if (missedStart) {
            child->beginAppearanceTransition(true, animated);
        }
        child->endAppearanceTransition();
    }
}

QWidget* ViewController::modalHost() const {
    if (Window* key = Window::keyWindow()) {
        return key;
    }
    return view_ ? view_->window() : nullptr;
}

void ViewController::presentModalViewControllerAnimated(ViewController* controller, bool animated) {
    if (controller == nullptr || modal_ || controller == this) {
        return;
    }
    controller->setParent(this);
    controller->presenter_ = this;
    modal_ = controller;
    ViewController* covered = containerRoot();
    modalCoversContainer_ = covered->appearance_ == AppearanceState::Appeared;
    if (modalCoversContainer_) {
        covered->beginAppearanceTransition(false, animated);
    }
    controller->beginAppearanceTransition(true, animated);
    QWidget* shown = controller->view();
    QWidget* host = modalHost();
    if (host != nullptr && host != shown) {
        ViewFitter::fill(shown, host);
    } else {
        setFrame(shown, Screen::bounds());
    }
    shown->show();
    shown->raise();
    if (modalCoversContainer_) {
        covered->endAppearanceTransition();
    }
    controller->endAppearanceTransition();
}

void ViewController::dismissModalViewControllerAnimated(bool animated) {
    if (!modal_) {
        if (presenter_) {
            presenter_->dismissModalViewControllerAnimated(animated);
        }
        return;
    }
    ViewController* controller = modal_;
    modal_ = nullptr;
    ViewController* covered = containerRoot();
    const bool uncover = modalCoversContainer_;
    modalCoversContainer_ = false;
    controller->beginAppearanceTransition(false, animated);
    if (uncover) {
        covered->beginAppearanceTransition(true, animated);
    }
    if (controller->view_) {
        controller->view_->hide();
    }
    controller->endAppearanceTransition();
    if (uncover) {
        covered->endAppearanceTransition();
    }
    controller->deleteLater();
}

} // namespace ui
