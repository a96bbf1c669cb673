#include "KeyScreens.h"

#include "platform/ui/FocusRing.h"

#include "support/EventLoop.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace ui;

namespace {

// 40 rows, an empty section and 60 rows of 44 points in a shown window.
class TableViewKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        list = new NumberedList;
        list->setTitle("List");
        stack = std::make_unique<NavigationController>(list);
        window.setRootViewController(stack.get());
        window.makeKeyAndVisible();
        table = list->tableView();
    }

    std::optional<IndexPath> ringed() const {
        return table->showsKeyboardRow() ? table->keyboardRow() : std::nullopt;
    }
    bool inView(const IndexPath& row) const {
        return table->indexPathsForVisibleRows().contains(row);
    }

    Window window;
    std::unique_ptr<NavigationController> stack;
    NumberedList* list = nullptr;
    TableView* table = nullptr;
};

} // namespace

TEST_F(TableViewKeyboardTest, ArrowsMoveARingedRowAcrossSectionsAndKeepItInView) {
    EXPECT_EQ(ringed(), std::nullopt);
    press(window, Qt::Key_Down);
    EXPECT_EQ(ringed(), (IndexPath{0, 0}));
    press(window, Qt::Key_Up); // stays at the first row
    EXPECT_EQ(ringed(), (IndexPath{0, 0}));
    for (int i = 0; i < 40; ++i) {
        press(window, Qt::Key_Down);
    }
    EXPECT_EQ(ringed(), (IndexPath{2, 0}));
    EXPECT_TRUE(inView({2, 0}));
    press(window, Qt::Key_Up);
    EXPECT_EQ(ringed(), (IndexPath{0, 39}));
    EXPECT_TRUE(inView({0, 39}));

    const QRect row = table->cellForRowAtIndexPath({0, 39})->geometry();
    QImage shot = table->grab().toImage();
    const QPoint edge = table->viewport()->mapTo(table, row.topLeft()) + QPoint(row.width() / 2, 0);
    EXPECT_EQ(shot.pixelColor(edge).rgb() & 0xffffff, FocusRing::kColor & 0xffffff);
}

TEST_F(TableViewKeyboardTest, EnterTapsTheRingedRowAndATouchHidesTheRing) {
    list->pushes = false;
    press(window, Qt::Key_Return);
    EXPECT_TRUE(list->tapped.isEmpty());
    press(window, Qt::Key_Down);
    press(window, Qt::Key_Down);
    press(window, Qt::Key_Return);
    press(window, Qt::Key_Enter);
    EXPECT_EQ(list->tapped, QList<IndexPath>({{0, 1}, {0, 1}}));
    table->tapRowAtIndexPath({0, 4});
    clickButton(table->viewport(), Qt::LeftButton);
    EXPECT_FALSE(table->showsKeyboardRow());
    EXPECT_EQ(table->keyboardRow(), (IndexPath{0, 4}));
    press(window, Qt::Key_Down);
    EXPECT_EQ(ringed(), (IndexPath{0, 5}));
}

TEST_F(TableViewKeyboardTest, HomeEndAndPageKeysScroll) {
    const double page = Screen::toPoints(table->viewport()->height());
    const double bottom = table->contentSize().height - page;
    ASSERT_GT(bottom, 2 * page);
    press(window, Qt::Key_PageDown);
    EXPECT_NEAR(table->contentOffset().y, page, 1);
    press(window, Qt::Key_End);
    EXPECT_NEAR(table->contentOffset().y, bottom, 1);
    press(window, Qt::Key_PageDown);
    press(window, Qt::Key_PageUp);
    EXPECT_NEAR(table->contentOffset().y, bottom - page, 1);
    press(window, Qt::Key_Home);
    EXPECT_EQ(table->contentOffset().y, 0);
    press(window, Qt::Key_End);
    press(window, Qt::Key_Up);
    EXPECT_EQ(ringed(), (IndexPath{2, 59}));
}

TEST_F(TableViewKeyboardTest, BackKeepsTheListsPlaceAndTheTappedRowInView) {
    for (int i = 0; i < 55; ++i) {
        press(window, Qt::Key_Down);
    }
    const double offset = table->contentOffset().y;
    ASSERT_GT(offset, 0);
    press(window, Qt::Key_Return);
    ASSERT_EQ(stack->viewControllers().size(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(2), 0) << "emptied while covered";
    press(window, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(table->contentOffset().y, offset);
    EXPECT_TRUE(inView({2, 14}));
    EXPECT_EQ(window.focusWidget(), table);
    press(window, Qt::Key_Down);
    EXPECT_EQ(ringed(), (IndexPath{2, 15}));

    table->setContentOffset({0, 30 * 44});
    table->tapRowAtIndexPath({0, 33});
    ASSERT_EQ(stack->viewControllers().size(), 2);
    clickButton(window.focusWidget(), Qt::BackButton);
    EXPECT_EQ(table->contentOffset().y, 30 * 44);
    EXPECT_TRUE(inView({0, 33}));
}
