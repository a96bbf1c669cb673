#include "ProcessTableFixture.h"
#include "platform/ui/KeyScreens.h"
#include "process/ProcessDetailViewController.h"
#include "process/ProcessStatusViewController.h"

#include <gtest/gtest.h>

#include <memory>

using P = ProcessTableFixture;

// The process list driven by keys: Down to a process far down, Enter opens its
// details, Alt+Left comes back to the list scrolled where it was.
TEST(ProcessStatusKeys, EnterOpensTheDetailAndAltLeftComesBackToTheSamePlace) {
    ProcessTableFixture kernel;
    std::vector<darwin::KinfoProc> table;
    for (int32_t pid = 100; pid < 160; ++pid) {
        table.push_back(P::process(pid, "daemon" + std::to_string(pid), 0));
    }
    kernel.backend->setProcessTable(table);
    ui::Window window;
    auto* list = new ProcessStatusViewController();
    auto stack = std::make_unique<ui::NavigationController>(list);
    window.setRootViewController(stack.get());
    window.makeKeyAndVisible();
    ui::TableView* rows = list->tableView();
    ASSERT_EQ(window.focusWidget(), rows);

    for (int i = 0; i < 30; ++i) {
        press(window, Qt::Key_Down);
    }
    const std::optional<ui::IndexPath> chosen = rows->keyboardRow();
    ASSERT_TRUE(chosen);
    const QStringList chosenTexts = rows->rowTexts(*chosen);
    const double offset = rows->contentOffset().y;
    ASSERT_GT(offset, 0);

    press(window, Qt::Key_Return);
    ASSERT_EQ(stack->viewControllers().size(), 2);
    EXPECT_NE(dynamic_cast<ProcessDetailViewController*>(stack->topViewController()), nullptr);

    press(window, Qt::Key_Left, Qt::AltModifier);
    ASSERT_EQ(stack->viewControllers().size(), 1);
    EXPECT_EQ(rows->contentOffset().y, offset);
    EXPECT_TRUE(rows->indexPathsForVisibleRows().contains(*chosen));
    EXPECT_EQ(rows->rowTexts(*chosen), chosenTexts);
    P::closeOverlays();
}
