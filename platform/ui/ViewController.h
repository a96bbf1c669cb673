#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace ui {

class NavigationController;
class NavigationItem;
class TabBarController;
class TabBarItem;

enum class ModalTransitionStyle {
    CoverVertical = 0,
    FlipHorizontal = 1,
    CrossDissolve = 2,
    PartialCurl = 3
};

// A screen: it owns a view that is made on first use (loadView, then viewDidLoad)
// and hears of its appearing and disappearing from the container that shows it
// (navigation controller, tab bar controller, window, modal presentation).
class ViewController : public QObject {
    Q_OBJECT

public:
    enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };

    ViewController();
    ~ViewController() override;

    // The view, loaded on the first call.
    QWidget* view();
    bool isViewLoaded() const { return !view_.isNull(); }
    // For loadView overrides: the controller takes ownership of `view`; the previous
    // view is deleted unless one of the two contains the other.
    void setView(QWidget* view);
    // The controller whose view `view` is, or nullptr.
    static ViewController* viewControllerForView(const QWidget* view);

    // Makes a plain white view as big as the screen.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    virtual void viewDidUnload() {}
    // Lets go of the view when it is not on screen (it is loaded again when needed).
    virtual void didReceiveMemoryWarning();

    QString title() const { return title_; }
    void setTitle(const QString& title);
    NavigationItem* navigationItem();
    TabBarItem* tabBarItem();
    // Takes ownership of the item.
    void setTabBarItem(TabBarItem* item);

    NavigationController* navigationController() const;
    TabBarController* tabBarController() const;
    // The container that shows this controller, or the controller that presented it.
    ViewController* parentViewController() const;

    void setHidesBottomBarWhenPushed(bool hides) { hidesBottomBarWhenPushed_ = hides; }
    bool hidesBottomBarWhenPushed() const { return hidesBottomBarWhenPushed_; }

    void setModalTransitionStyle(ModalTransitionStyle style) { transitionStyle_ = style; }
    ModalTransitionStyle modalTransitionStyle() const { return transitionStyle_; }
    // Shows `controller` over the whole key window; takes ownership of it.
    void presentModalViewControllerAnimated(ViewController* controller, bool animated);
    // Called on the presenter or on the presented controller; the presented one is
    // deleted later.
    void dismissModalViewControllerAnimated(bool animated);
    ViewController* modalViewController() const { return modal_; }

    // Containment, used by the containers: the child becomes owned by this controller.
    void addChildViewController(ViewController* child);
    void removeFromParentViewController();

    // Appearance transitions, sent by whatever puts the view on or off screen. They
    // reach the controllers a container shows, and are ignored when they would not
    // change anything (a controller already on screen does not appear twice).
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    AppearanceState appearanceState() const { return appearance_; }
    bool isOnScreen() const { return appearance_ == AppearanceState::Appeared; }

protected:
    // The controllers whose views show inside this one's view right now.
    virtual QList<ViewController*> childViewControllersForAppearance() const { return {}; }
    // Runs before viewWillAppear / viewWillDisappear, whether or not an override of
    // those calls the base class.
    virtual void appearanceWillBegin(bool /*appearing*/) {}
    // Runs after viewDidAppear / viewDidDisappear, once the screen's own calls have
    // filled it.
    virtual void appearanceDidEnd(bool /*appearing*/) {}
    // The top-most container above this controller.
    ViewController* containerRoot();

private:
    void unloadView();
    QWidget* modalHost() const;

    QPointer<QWidget> view_;
    QString title_;
    std::unique_ptr<NavigationItem> navigationItem_;
    std::unique_ptr<TabBarItem> tabBarItem_;
    bool tabBarItemFollowsTitle_ = true;
    QPointer<ViewController> parent_;
    QPointer<ViewController> presenter_;
    QPointer<ViewController> modal_;
    bool modalCoversContainer_ = false;
    bool hidesBottomBarWhenPushed_ = false;
    ModalTransitionStyle transitionStyle_ = ModalTransitionStyle::CoverVertical;
    AppearanceState appearance_ = AppearanceState::Disappeared;
    bool transitionAnimated_ = false;
};

} // namespace ui
