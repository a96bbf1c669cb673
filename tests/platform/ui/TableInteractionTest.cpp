#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace ui;

namespace {

// A screen with a list of words; it records what the user did.
class WordsScreen : public TableViewController {
public:
    WordsScreen() : TableViewController(TableViewStyle::Plain) { setTitle("Words"); }

    QStringList words{"alpha", "bravo",  "charlie", "delta", "echo", "foxtrot",  "golf", "hotel",
                      "india", "juliet", "kilo",    "lima",  "mike", "november", "oscar"};
    QList<IndexPath> selected;
    QList<IndexPath> accessories;

    int tableViewNumberOfRowsInSection(TableView*, int) override {
        return static_cast<int>(words.size());
    }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table, const IndexPath& p) override {
        auto* cell = table->dequeueReusableCell<TableViewCell>("Word");
        cell->textLabel()->setText(words[p.row]);
        cell->setAccessoryType(p.row == 1 ? TableViewCellAccessoryType::DetailDisclosureButton
                                          : TableViewCellAccessoryType::None);
        return cell;
    }
    bool tableViewCanEditRowAtIndexPath(TableView*, const IndexPath&) override { return true; }
    void tableViewCommitEditingStyleForRowAtIndexPath(TableView* table, TableViewCellEditingStyle,
                                                      const IndexPath& p) override {
        words.removeAt(p.row);
        table->deleteRowsAtIndexPathsWithRowAnimation({p}, TableViewRowAnimation::Fade);
    }
    void tableViewDidSelectRowAtIndexPath(TableView*, const IndexPath& p) override {
        selected.append(p);
    }
    void tableViewAccessoryButtonTappedForRowWithIndexPath(TableView*,
                                                           const IndexPath& p) override {
        accessories.append(p);
    }
};

void mouse(QWidget* target, QEvent::Type type, QPoint position) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, position, target->mapToGlobal(position), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void clickAt(QWidget* target, QPoint position) {
    mouse(target, QEvent::MouseButtonPress, position);
    mouse(target, QEvent::MouseButtonRelease, position);
}

QPoint rowCentre(TableView* table, const IndexPath& p) {
    const Rect row = table->rectForRowAtIndexPath(p);
    return QPoint(Screen::px(row.x + row.width / 3),
                  Screen::px(row.y + row.height / 2 - table->contentOffset().y));
}

} // namespace

TEST(TableViewController, ClicksSelectRowsAndHitTheDetailButton) {
    WordsScreen screen;
    Window window;
    window.setRootViewController(&screen);
    window.makeKeyAndVisible();
    TableView* table = screen.tableView();
    ASSERT_EQ(screen.view(), table);

    clickAt(table->viewport(), rowCentre(table, {0, 3}));
    EXPECT_EQ(screen.selected, QList<IndexPath>({{0, 3}}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));

    TableViewCell* withButton = table->cellForRowAtIndexPath({0, 1});
    const QPoint button = withButton->geometry().topLeft() + withButton->accessoryRect().center();
    clickAt(table->viewport(), button);
    EXPECT_EQ(screen.accessories, QList<IndexPath>({{0, 1}}));
    EXPECT_EQ(screen.selected.size(), 1);
    window.setRootView(nullptr);
}

TEST(TableViewController, ComingBackDeselectsTheRowEvenWhenTheScreenOverridesWillAppear) {
    struct Overriding : WordsScreen {
        void viewWillAppear(bool) override { ++appearances; }
        int appearances = 0;
    };
    auto* screen = new Overriding;
    NavigationController navigation(screen);
    Window window;
    window.setRootViewController(&navigation);
    window.makeKeyAndVisible();
    screen->tableView()->tapRowAtIndexPath({0, 2});
    navigation.pushViewControllerAnimated(new ViewController, false);
    EXPECT_TRUE(screen->tableView()->indexPathForSelectedRow().has_value());
    navigation.popViewControllerAnimated(false);
    EXPECT_FALSE(screen->tableView()->indexPathForSelectedRow().has_value());
    EXPECT_EQ(screen->appearances, 2);
    window.setRootView(nullptr);
}

TEST(TableView, DraggingAndTheWheelScrollWithoutSelecting) {
    WordsScreen screen;
    TableView* table = screen.tableView();
    setFrame(table, {0, 0, 320, 220});
    table->show();
    const QPoint start = rowCentre(table, {0, 4});
    mouse(table->viewport(), QEvent::MouseButtonPress, start);
    mouse(table->viewport(), QEvent::MouseMove, start - QPoint(0, Screen::px(30)));
    mouse(table->viewport(), QEvent::MouseMove, start - QPoint(0, Screen::px(100)));
    mouse(table->viewport(), QEvent::MouseButtonRelease, start - QPoint(0, Screen::px(100)));
    EXPECT_NEAR(table->contentOffset().y, 100, 1);
    EXPECT_TRUE(screen.selected.isEmpty());
    EXPECT_EQ(table->indexPathsForVisibleRows().first(), (IndexPath{0, 2}));

    QWheelEvent wheel(QPointF(10, 10), table->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(table->viewport(), &wheel);
    EXPECT_GT(table->contentOffset().y, 100);

    // Scrolling stops at the end of the content.
    table->setContentOffset({0, 100000});
    EXPECT_NEAR(table->contentOffset().y, 15 * 44 - 220, 1);
    table->setScrollEnabled(false);
    QCoreApplication::sendEvent(table->viewport(), &wheel);
    EXPECT_NEAR(table->contentOffset().y, 15 * 44 - 220, 1);
    table->hide();
}

TEST(TableView, HorizontalSwipeOffersDeleteAndTheButtonDeletes) {
    WordsScreen screen;
    TableView* table = screen.tableView();
    table->show();
    const QPoint start = rowCentre(table, {0, 2});
    mouse(table->viewport(), QEvent::MouseButtonPress, start);
    mouse(table->viewport(), QEvent::MouseMove, start + QPoint(Screen::px(60), 0));
    mouse(table->viewport(), QEvent::MouseButtonRelease, start + QPoint(Screen::px(60), 0));
    ASSERT_EQ(table->indexPathShowingDeleteConfirmation(), (IndexPath{0, 2}));

    TableViewCell* cell = table->cellForRowAtIndexPath({0, 2});
    clickAt(table->viewport(), cell->geometry().topLeft() + cell->deleteButtonRect().center());
    EXPECT_FALSE(screen.words.contains("charlie"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 14);
    EXPECT_EQ(table->rowTexts({0, 2}), QStringList({"delta"}));
    EXPECT_TRUE(screen.selected.isEmpty());
    table->hide();
}

TEST(TableViewController, InEditingModeAClickOnTheDeleteControlOffersDelete) {
    WordsScreen screen;
    TableView* table = screen.tableView();
    table->show();
    screen.setEditingAnimated(true, false);
    EXPECT_TRUE(screen.isEditing());
    TableViewCell* cell = table->cellForRowAtIndexPath({0, 0});
    clickAt(table->viewport(), cell->geometry().topLeft() + cell->deleteControlRect().center());
    EXPECT_EQ(table->indexPathShowingDeleteConfirmation(), (IndexPath{0, 0}));
    clickAt(table->viewport(), cell->geometry().topLeft() + cell->deleteButtonRect().center());
    EXPECT_EQ(screen.words.first(), "bravo");
    EXPECT_TRUE(screen.selected.isEmpty());
    table->hide();
}

TEST(TableViewController, ScreenCanPutItsOwnTableInPlaceInViewDidLoad) {
    struct OwnTable : WordsScreen {
        void viewDidLoad() override {
            auto* table = new TableView(Screen::bounds(), TableViewStyle::Grouped);
            setTableView(table);
        }
    };
    OwnTable screen;
    TableView* table = screen.tableView();
    EXPECT_EQ(table->style(), TableViewStyle::Grouped);
    EXPECT_EQ(screen.view(), table);
    EXPECT_EQ(table->dataSource(), &screen);
    EXPECT_EQ(table->numberOfRowsInSection(0), 15);
}

TEST(TableView, CustomHeaderViewsAndTableHeaderViewTakeTheirSpace) {
    struct WithHeaders : WordsScreen {
        QWidget* tableViewViewForHeaderInSection(TableView*, int) override {
            auto* header = new QWidget;
            setFrame(header, {0, 0, 320, 30});
            return header;
        }
    };
    WithHeaders screen;
    TableView* table = screen.tableView();
    auto* top = new QWidget;
    setFrame(top, {0, 0, 320, 50});
    table->setTableHeaderView(top);
    EXPECT_EQ(table->rectForHeaderInSection(0), (Rect{0, 50, 320, 30}));
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 0}).y, 80);
    EXPECT_EQ(table->contentSize().height, 80 + 15 * 44);
}
