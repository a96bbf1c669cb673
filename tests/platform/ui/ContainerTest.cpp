#include "Journals.h"

#include "platform/ui/BarButton.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Window.h"

#include "support/EventLoop.h"

#include <QPointer>
#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

// A screen that writes its appearance calls into a shared journal.
class Journaled : public ViewController {
public:
    Journaled(const QString& name, QStringList* journal) : name_(name), journal_(journal) {
        setTitle(name);
    }
    void viewWillAppear(bool) override { journal_->append(name_ + " willAppear"); }
    void viewDidAppear(bool) override { journal_->append(name_ + " didAppear"); }
    void viewWillDisappear(bool) override { journal_->append(name_ + " willDisappear"); }
    void viewDidDisappear(bool) override { journal_->append(name_ + " didDisappear"); }

private:
    QString name_;
    QStringList* journal_;
};

} // namespace

TEST(NavigationController, BackButtonShowsThePreviousTitleOrItsBackTitleOrBack) {
    QStringList journal;
    auto* root = new Journaled("Processes", &journal);
    NavigationController navigation(root);
    NavigationBar* bar = navigation.navigationBar();
    EXPECT_EQ(bar->backButtonTitle(), "");
    auto* detail = new Journaled("Details", &journal);
    navigation.pushViewControllerAnimated(detail, false);
    EXPECT_EQ(bar->title(), "Details");
    EXPECT_EQ(bar->backButtonTitle(), "Processes");

    detail->navigationItem()->setBackBarButtonTitle("Info");
    auto* third = new Journaled("Third", &journal);
    navigation.pushViewControllerAnimated(third, false);
    EXPECT_EQ(bar->backButtonTitle(), "Info");

    auto* untitled = new Journaled("", &journal);
    auto* fourth = new Journaled("Fourth", &journal);
    navigation.pushViewControllerAnimated(untitled, false);
    navigation.pushViewControllerAnimated(fourth, false);
    EXPECT_EQ(bar->backButtonTitle(), "Back");

    fourth->navigationItem()->setLeftBarButtonItem(
        new BarButtonItem(BarButtonSystemItem::Cancel, [] {}));
    EXPECT_EQ(bar->backButtonTitle(), "");

    navigation.popViewControllerAnimated(false);
    QPointer<ViewController> poppedUntitled = untitled;
    bar->backButton()->click();
    EXPECT_EQ(navigation.topViewController(), third);
    testenv::flushEvents();
    EXPECT_TRUE(poppedUntitled.isNull());
    EXPECT_EQ(navigation.popToRootViewControllerAnimated(false).size(), 2);
    EXPECT_EQ(navigation.viewControllers(), QList<ViewController*>({root}));
    EXPECT_EQ(navigation.popViewControllerAnimated(false), nullptr);
}

TEST(NavigationController, PushAndPopSendAppearanceCallsInOrderOnlyWhileOnScreen) {
    QStringList journal;
    auto* root = new Journaled("Root", &journal);
    auto* navigation = new NavigationController(root);
    navigation->pushViewControllerAnimated(new Journaled("Early", &journal), false);
    navigation->popViewControllerAnimated(false);
    EXPECT_TRUE(journal.isEmpty());

    Window window;
    window.setRootViewController(navigation);
    window.makeKeyAndVisible();
    EXPECT_EQ(journal, QStringList({"Root willAppear", "Root didAppear"}));
    journal.clear();
    navigation->pushViewControllerAnimated(new Journaled("Next", &journal), true);
    EXPECT_EQ(journal, QStringList({"Root willDisappear", "Next willAppear", "Root didDisappear",
                                    "Next didAppear"}));
    journal.clear();
    navigation->popViewControllerAnimated(true);
    EXPECT_EQ(journal, QStringList({"Next willDisappear", "Root willAppear", "Next didDisappear",
                                    "Root didAppear"}));
    window.hide();
    delete navigation;
}

TEST(TabBarController, SwitchingTabsMovesAppearanceAndTellsTheDelegateOnUserSelection) {
    QStringList journal;
    auto* tabs = new TabBarController;
    auto* first = new Journaled("First", &journal);
    auto* second = new NavigationController(new Journaled("Second", &journal));
    second->setTitle("SecondNav");
    tabs->setViewControllers({first, second});
    TabChoices recorder;
    tabs->setDelegate(&recorder);

    EXPECT_EQ(second->topViewController()->tabBarController(), tabs);

    Window window;
    window.setRootViewController(tabs);
    window.makeKeyAndVisible();
    EXPECT_EQ(journal, QStringList({"First willAppear", "First didAppear"}));

    journal.clear();
    tabs->tabBar()->tapItemAtIndex(1);
    EXPECT_EQ(journal, QStringList({"First willDisappear", "Second willAppear",
                                    "First didDisappear", "Second didAppear"}));
    EXPECT_EQ(recorder.selected, QStringList({"SecondNav"}));

    tabs->setSelectedIndex(0); // selecting in code does not tell the delegate
    EXPECT_EQ(recorder.selected.size(), 1);
    window.hide();
    delete tabs;
}

TEST(TabBarController, TabBarHidesWhileThePushedScreenAsksForIt) {
    QStringList journal;
    auto tabs = std::make_unique<TabBarController>();
    auto* navigation = new NavigationController(new Journaled("List", &journal));
    tabs->setViewControllers({navigation, new Journaled("Other", &journal)});
    TabBar* bar = tabs->tabBar();
    auto* detail = new Journaled("Detail", &journal);
    detail->setHidesBottomBarWhenPushed(true);
    navigation->pushViewControllerAnimated(detail, false);
    EXPECT_TRUE(bar->isHidden());
    navigation->pushViewControllerAnimated(new Journaled("Deeper", &journal), false);
    EXPECT_FALSE(bar->isHidden());
    navigation->popViewControllerAnimated(false);
    EXPECT_TRUE(bar->isHidden());
}

TEST(ViewController, ModalCoversTheScreenBelowAndDismissesFromEitherSide) {
    QStringList journal;
    auto* tabs = new TabBarController;
    auto* home = new Journaled("Home", &journal);
    tabs->setViewControllers({home});
    Window window;
    window.setRootViewController(tabs);
    window.makeKeyAndVisible();
    journal.clear();

    QPointer<ViewController> modal = new Journaled("Modal", &journal);
    home->presentModalViewControllerAnimated(modal, true);
    EXPECT_EQ(modal->view()->geometry(), window.rect());
    modal->dismissModalViewControllerAnimated(true);
    EXPECT_EQ(journal, QStringList({"Home willDisappear", "Modal willAppear", "Home didDisappear",
                                    "Modal didAppear", "Modal willDisappear", "Home willAppear",
                                    "Modal didDisappear", "Home didAppear"}));
    testenv::flushEvents();
    EXPECT_TRUE(modal.isNull());

    home->presentModalViewControllerAnimated(new Journaled("Again", &journal), false);
    home->dismissModalViewControllerAnimated(false); // from the presenter
    EXPECT_EQ(home->modalViewController(), nullptr);
    window.hide();
    delete tabs;
}
