#include "Journals.h"
#include "KeyScreens.h"

#include "platform/ui/Application.h"
#include "platform/ui/NavigationItem.h"

#include "support/EventLoop.h"

#include <QPointer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace ui;

namespace {

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

    journal.calls.clear(); // without a cancel button Escape has nothing to press
    auto* noCancel = new AlertView("Note", "", &journal, "", {"Retry", "Quit"});
    noCancel->show();
    press(window, Qt::Key_Escape);
    EXPECT_TRUE(journal.calls.isEmpty());
    EXPECT_TRUE(noCancel->isVisible());
}

TEST_F(KeyCommandsTest, AltLeftBackspaceAndTheBackButtonPopUntilTheRoot) {
    auto* stack = static_cast<NavigationController*>(stacks[0]);
    for (int depth = 0; depth < 3; ++depth) {
        stack->pushViewControllerAnimated(new NumberedList({2}), false);
    }
    ASSERT_EQ(stack->viewControllers().size(), 4);
    EXPECT_EQ(focusedTable(), static_cast<NumberedList*>(stack->topViewController())->tableView());

    press(window, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(stack->viewControllers().size(), 3);
    press(window, Qt::Key_Backspace);
    EXPECT_EQ(stack->viewControllers().size(), 2);
    clickButton(static_cast<NumberedList*>(stack->topViewController())->tableView()->viewport(),
                Qt::BackButton);
    EXPECT_EQ(stack->viewControllers().size(), 1);
    EXPECT_EQ(focusedTable(), lists[0]->tableView());
    press(window, Qt::Key_Backspace); // nothing left to go back to
    EXPECT_EQ(stack->viewControllers(), QList<ViewController*>({lists[0]}));
    // A plain Left is not Back.
    stack->pushViewControllerAnimated(new NumberedList({2}), false);
    press(window, Qt::Key_Left);
    EXPECT_EQ(stack->viewControllers().size(), 2);
}

TEST_F(KeyCommandsTest, ControlTabAndControlDigitsChooseTabsAsATapDoes) {
    for (int i = 0; i < 3; ++i) {
        press(window, Qt::Key_Tab, Qt::ControlModifier);
    }
    press(window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier); // Shift+Tab
    press(window, Qt::Key_2, Qt::ControlModifier);
    press(window, Qt::Key_4, Qt::ControlModifier); // no fourth tab
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
    lists[0]->navigationItem()->rightBarButtonItem()->setEnabled(false);
    press(window, Qt::Key_F5);
    EXPECT_EQ(refreshes, 2) << "not while disabled";
    // Only the screen on top is refreshed.
    static_cast<NavigationController*>(stacks[0])->pushViewControllerAnimated(new NumberedList({1}),
                                                                              false);
    lists[0]->navigationItem()->rightBarButtonItem()->setEnabled(true);
    press(window, Qt::Key_F5);
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(edits, 0);
}

TEST_F(KeyCommandsTest, ControlQClosingAndLosingTheWindowTerminateOnce) {
    Application* application = Application::sharedApplication();
    Terminations delegates[3]; // a fresh delegate for each way
    application->setDelegate(&delegates[0]);
    press(window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    window.close(); // closed again, or its native window gone too: still once
    window.windowHandle()->destroy();
    EXPECT_EQ(delegates[0].terminations, 1);

    application->setDelegate(&delegates[1]);
    window.makeKeyAndVisible();
    window.windowHandle()->destroy(); // the window manager takes it away without asking
    EXPECT_EQ(delegates[1].terminations, 1);

    application->setDelegate(&delegates[2]);
    auto* owned = new Window; // the owner deleting its window is no termination
    owned->show();
    delete owned;
    EXPECT_EQ(delegates[2].terminations, 0);
    application->setDelegate(nullptr);
}
