#include "KeyScreens.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"

#include "support/EventLoop.h"

#include <QPointer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace ui;

namespace {

class OverlayJournal : public ActionSheetDelegate, public AlertViewDelegate {
public:
    void actionSheetClickedButtonAtIndex(ActionSheet*, int index) override {
        calls.append(QString("sheet clicked %1").arg(index));
    }
    void actionSheetWillDismissWithButtonIndex(ActionSheet*, int index) override {
        calls.append(QString("sheet will %1").arg(index));
    }
    void actionSheetDidDismissWithButtonIndex(ActionSheet*, int index) override {
        calls.append(QString("sheet did %1").arg(index));
    }
    void alertViewClickedButtonAtIndex(AlertView*, int index) override {
        calls.append(QString("alert clicked %1").arg(index));
    }
    void alertViewWillDismissWithButtonIndex(AlertView*, int index) override {
        calls.append(QString("alert will %1").arg(index));
    }
    void alertViewDidDismissWithButtonIndex(AlertView*, int index) override {
        calls.append(QString("alert did %1").arg(index));
    }
    QStringList calls;
};

class TabChoices : public TabBarControllerDelegate {
public:
    void tabBarControllerDidSelectViewController(TabBarController*,
                                                 ViewController* controller) override {
        selected.append(controller->title());
    }
    QStringList selected;
};

class Terminations : public ApplicationDelegate {
public:
    void applicationWillTerminate(Application*) override { ++terminations; }
    int terminations = 0;
};

// Three tabs of lists in navigation stacks, in a shown window.
class KeyCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"One", "Two", "Three"}) {
            auto* list = new NumberedList({5});
            list->setTitle(name);
            lists.append(list);
            stacks.append(new NavigationController(list));
            stacks.last()->setTitle(name);
        }
        tabs.setViewControllers(stacks);
        tabs.setDelegate(&tabJournal);
        window.setRootViewController(&tabs);
        window.makeKeyAndVisible();
    }
    void TearDown() override {
        for (ActionSheet* sheet : ActionSheet::visibleSheets()) {
            sheet->setDelegate(nullptr);
            sheet->dismissWithClickedButtonIndexAnimated(-1, false);
        }
        for (AlertView* alert : AlertView::visibleAlerts()) {
            alert->setDelegate(nullptr);
            alert->dismissWithClickedButtonIndexAnimated(-1, false);
        }
        testenv::flushEvents();
    }

    TableView* focusedTable() { return qobject_cast<TableView*>(window.focusWidget()); }

    Window window;
    QList<NumberedList*> lists;
    QList<ViewController*> stacks;
    TabChoices tabJournal;
    TabBarController tabs;
};

} // namespace

TEST_F(KeyCommandsTest, EscapeCancelsTheSheetOrAlertOnTopAsItsCancelButtonDoes) {
    OverlayJournal journal;
    auto* sheet = new ActionSheet("Kill?", &journal, "Cancel", "Kill", {"Stop"});
    sheet->showFromTabBar(tabs.tabBar());
    // The screen under the sheet hears no key.
    press(window, Qt::Key_Down);
    press(window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(lists[0]->tableView()->showsKeyboardRow());
    EXPECT_EQ(tabs.selectedIndex(), 0);
    press(window, Qt::Key_Escape);
    EXPECT_EQ(journal.calls, QStringList({"sheet clicked 2", "sheet will 2", "sheet did 2"}));
    EXPECT_TRUE(ActionSheet::visibleSheets().isEmpty());

    journal.calls.clear();
    auto* alert = new AlertView("Gone", "The process ended.", &journal, "OK", {"Retry"});
    alert->show();
    press(window, Qt::Key_Escape);
    EXPECT_EQ(journal.calls, QStringList({"alert clicked 0", "alert will 0", "alert did 0"}));
    // The keys go back to the list.
    EXPECT_EQ(focusedTable(), lists[0]->tableView());

    // Without a cancel button Escape has nothing to press.
    journal.calls.clear();
    auto* noCancel = new AlertView("Note", "", &journal, "", {"Retry", "Quit"});
    noCancel->show();
    press(window, Qt::Key_Escape);
    EXPECT_TRUE(journal.calls.isEmpty());
    EXPECT_TRUE(noCancel->isVisible());
}

TEST_F(KeyCommandsTest, AltLeftBackspaceAndTheBackButtonPopUntilTheRoot) {
    auto* stack = static_cast<NavigationController*>(stacks[0]);
    for (int depth = 0; depth < 3; ++depth) {
        auto* pushed = new NumberedList({2});
        stack->pushViewControllerAnimated(pushed, false);
    }
    ASSERT_EQ(stack->viewControllers().size(), 4);
    EXPECT_EQ(focusedTable(), static_cast<NumberedList*>(stack->topViewController())->tableView());

    press(window, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(stack->viewControllers().size(), 3);
    press(window, Qt::Key_Backspace);
    EXPECT_EQ(stack->viewControllers().size(), 2);
    // The mouse's back button anywhere on the screen, here on the table's rows.
    clickButton(static_cast<NumberedList*>(stack->topViewController())->tableView()->viewport(),
                Qt::BackButton);
    EXPECT_EQ(stack->viewControllers().size(), 1);
    EXPECT_EQ(focusedTable(), lists[0]->tableView());
    // Nothing is left to go back to.
    press(window, Qt::Key_Left, Qt::AltModifier);
    press(window, Qt::Key_Backspace);
    EXPECT_EQ(stack->viewControllers(), QList<ViewController*>({lists[0]}));
    // A plain Left is not Back.
    stack->pushViewControllerAnimated(new NumberedList({2}), false);
    press(window, Qt::Key_Left);
    EXPECT_EQ(stack->viewControllers().size(), 2);
}

TEST_F(KeyCommandsTest, ControlTabAndControlDigitsChooseTabsAsATapDoes) {
    press(window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.selectedIndex(), 1);
    EXPECT_EQ(focusedTable(), lists[1]->tableView());
    press(window, Qt::Key_Tab, Qt::ControlModifier);
    press(window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.selectedIndex(), 0);
    // Shift+Tab comes as Backtab.
    press(window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs.selectedIndex(), 2);
    press(window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(tabs.selectedIndex(), 1);
    // No fourth tab.
    press(window, Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(tabs.selectedIndex(), 1);
    EXPECT_EQ(tabJournal.selected, QStringList({"Two", "Three", "One", "Three", "Two"}));
    EXPECT_EQ(focusedTable(), lists[1]->tableView());
}

TEST_F(KeyCommandsTest, ControlRAndF5PressTheScreensRefreshButton) {
    int refreshes = 0;
    int edits = 0;
    lists[0]->navigationItem()->setLeftBarButtonItem(
        new BarButtonItem(BarButtonSystemItem::Edit, [&] { ++edits; }));
    lists[0]->navigationItem()->setRightBarButtonItem(
        new BarButtonItem(BarButtonSystemItem::Refresh, [&] { ++refreshes; }));
    press(window, Qt::Key_R, Qt::ControlModifier);
    press(window, Qt::Key_F5);
    EXPECT_EQ(refreshes, 2);
    // A disabled button is not pressed, as a tap would not press it.
    lists[0]->navigationItem()->rightBarButtonItem()->setEnabled(false);
    press(window, Qt::Key_F5);
    EXPECT_EQ(refreshes, 2);
    // The screen on top is the one refreshed: a pushed screen without the button, none.
    static_cast<NavigationController*>(stacks[0])->pushViewControllerAnimated(new NumberedList({1}),
                                                                              false);
    lists[0]->navigationItem()->rightBarButtonItem()->setEnabled(true);
    press(window, Qt::Key_F5);
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(edits, 0);
}

TEST_F(KeyCommandsTest, ControlQClosingAndLosingTheWindowTerminateOnce) {
    Application* application = Application::sharedApplication();
    {
        Terminations delegate;
        application->setDelegate(&delegate);
        press(window, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(delegate.terminations, 1);
        // Closed again, or its native window gone too: still once.
        window.close();
        window.windowHandle()->destroy();
        EXPECT_EQ(delegate.terminations, 1);
    }
    {
        Terminations delegate;
        application->setDelegate(&delegate);
        window.makeKeyAndVisible();
        // The window manager takes the window away without asking.
        window.windowHandle()->destroy();
        EXPECT_EQ(delegate.terminations, 1);
    }
    {
        // The owner deleting its window is no termination.
        Terminations delegate;
        application->setDelegate(&delegate);
        auto* owned = new Window;
        owned->show();
        delete owned;
        EXPECT_EQ(delegate.terminations, 0);
    }
    application->setDelegate(nullptr);
}
