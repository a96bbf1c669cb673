#include "Shelves.h"
#include "platform/ui/TableView.h"

#include <QAccessible>
#include <gtest/gtest.h>

using namespace ui;

namespace {

QStringList childNames(QAccessibleInterface* list) {
    QStringList names;
    for (int i = 0; i < list->childCount(); ++i) {
        names.append(list->child(i)->text(QAccessible::Name));
    }
    return names;
}

class TableViewAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override { table.setDataSource(&shelves); }

    Shelves shelves;
    TableView table{{0, 0, 320, 88}, TableViewStyle::Plain};
};

TEST_F(TableViewAccessibilityTest, EveryTableIsAListOfItsHeadersAndRowsInReadingOrder) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&table);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(childNames(list), QStringList({"Fruit", "apple\t1", "pear\t2", "bread\t1", "Empty"}));
    EXPECT_EQ(list->child(0)->role(), QAccessible::Heading);
    EXPECT_EQ(list->child(1)->role(), QAccessible::ListItem);
    EXPECT_EQ(list->indexOfChild(list->child(3)), 3);
    EXPECT_EQ(list->child(3)->parent(), list);
}

TEST_F(TableViewAccessibilityTest, NamesFollowTheDataAfterAReload) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&table);
    QAccessibleInterface* second = list->child(2);
    shelves.rows[0] = {"apple", "plum", "quince"};
    table.reloadData();
    EXPECT_EQ(second->text(QAccessible::Name), "plum\t2");

    shelves.rows[0] = {"apple"};
    table.reloadData();
    EXPECT_FALSE(second->isValid()) << "its row went";
    EXPECT_EQ(list->indexOfChild(second), -1);
}

TEST_F(TableViewAccessibilityTest, NamesCarryControlCharactersEscapedAsTheTextHasThem) {
    shelves.titles[0] = "Fruit\x1b[8m";
    shelves.rows[0][0] = "ap\nple";
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&table);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "Fruit\\x1b[8m");
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), "ap\\nple\t1");
}

TEST_F(TableViewAccessibilityTest, RowsSayWhetherTheyShowOrAreSelectedAndAPointFindsOne) {
    table.show();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&table);
    // 88 points show the header (22 points) and the first row and a half.
    EXPECT_FALSE(list->child(2)->state().offscreen);
    EXPECT_TRUE(list->child(3)->state().offscreen);
    table.tapRowAtIndexPath({0, 1});
    EXPECT_TRUE(list->child(2)->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);

    const QRect pear = list->child(2)->rect();
    QAccessibleInterface* hit = list->childAt(pear.center().x(), pear.center().y());
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->text(QAccessible::Name), "pear\t2");
    const QPoint aboveRows = table.viewport()->mapToGlobal(QPoint(5, 5));
    EXPECT_EQ(list->childAt(aboveRows.x(), aboveRows.y()), nullptr) << "over the header";
}

} // namespace
