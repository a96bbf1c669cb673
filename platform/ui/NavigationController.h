#pragma once

#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewController.h"

#include <QPointer>

class QStackedLayout;

namespace ui {

// A stack of screens under a navigation bar: pushing shows a new screen with a back
// button to the previous one; popping returns. Owns the controllers on its stack.
class NavigationController : public ViewController {
    Q_OBJECT

public:
    // Takes ownership of `root`.
    explicit NavigationController(ViewController* root);

    // Takes ownership of `controller`.
    void pushViewControllerAnimated(ViewController* controller, bool animated);
    // The popped controller (deleted later), or nullptr when only the root is left.
    ViewController* popViewControllerAnimated(bool animated);
    QList<ViewController*> popToRootViewControllerAnimated(bool animated);

    QList<ViewController*> viewControllers() const { return stack_; }
    ViewController* topViewController() const;
    // The top controller, or the screen it presents modally.
    ViewController* visibleViewController() const;

    NavigationBar* navigationBar();
    void setNavigationBarHiddenAnimated(bool hidden, bool animated);
    bool isNavigationBarHidden() const { return barHidden_; }

    void loadView() override;
    void didReceiveMemoryWarning() override;

protected:
    QList<ViewController*> childViewControllersForAppearance() const override;

private:
    void showTop();
    void updateBar();
    void takeOff(ViewController* controller);
    void replaceTop(const std::function<void()>& changeStack, bool animated);
    QString backTitleFor(int index) const;

    QList<ViewController*> stack_;
    QPointer<NavigationBar> bar_;
    QPointer<QStackedLayout> content_;
    BarStyle barStyle_ = BarStyle::Default;
    bool barHidden_ = false;
};

} // namespace ui
