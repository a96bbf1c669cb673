#include "Events.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TouchView.h"

#include <QAbstractButton>
#include <QPointer>
#include <gtest/gtest.h>

using namespace ui;

TEST(TableViewCell, LabelsShareTheContentThatTheAccessoryAndEditingControlNarrow) {
    TableViewCell value1(TableViewCellStyle::Value1, "v");
    value1.textLabel()->setText("Model");
    value1.detailTextLabel()->setText("iPhone");
    setFrame(&value1, {0, 0, 320, 44});
    value1.layoutSubviews();
    const Rect detail = frame(value1.detailTextLabel());
    EXPECT_LE(frame(value1.textLabel()).x + frame(value1.textLabel()).width, detail.x);
    EXPECT_NEAR(detail.x + detail.width, value1.contentBounds().width - 10, 1) << "right margin";
    TableViewCell subtitle(TableViewCellStyle::Subtitle, "s");
    setFrame(&subtitle, {0, 0, 320, 60});
    subtitle.layoutSubviews();
    EXPECT_LT(frame(subtitle.textLabel()).y, frame(subtitle.detailTextLabel()).y) << "stacked";

    value1.setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
    const double withChevron = value1.contentBounds().width;
    EXPECT_LT(withChevron, 320);
    value1.setEditing(true);
    EXPECT_LT(value1.contentBounds().width, withChevron);
    QPointer<QWidget> custom = new QWidget; // the cell's own
    value1.setAccessoryView(custom);
    value1.setAccessoryView(nullptr);
    EXPECT_TRUE(custom.isNull());
}

TEST(TableViewCell, SelectionHighlightsTheLabelsUnlessSelectionStyleIsNone) {
    TableViewCell cell(TableViewCellStyle::Value2, "c");
    auto* extra = new Label(cell.contentView());
    new QLabel("not ours", cell.contentView());
    cell.setSelected(true);
    EXPECT_TRUE(cell.textLabel()->isHighlighted());
    EXPECT_TRUE(extra->isHighlighted());

    cell.setSelectionStyle(TableViewCellSelectionStyle::None);
    cell.setHighlighted(true);
    EXPECT_FALSE(cell.textLabel()->isHighlighted());
    cell.prepareForReuse();
    EXPECT_FALSE(cell.isHighlighted());
}

TEST(TableViewCell, ATouchLandsOnAControlOnlyWhileTheCellShowsIt) {
    using Part = TableViewCell::Part;
    TableViewCell cell("T");
    setFrame(&cell, {0, 0, 320, 44});
    const auto at = [&cell](QRect area) { return cell.partAtPoint(area.center()); };
    for (const QRect& part :
         {cell.accessoryRect(), cell.deleteControlRect(), cell.deleteButtonRect()}) {
        EXPECT_EQ(at(part), Part::Row);
    }
    cell.setEditing(true);
    cell.setEditingStyle(TableViewCellEditingStyle::Insert);
    EXPECT_EQ(at(cell.deleteControlRect()), Part::Row) << "an insert control";
    cell.setAccessoryType(TableViewCellAccessoryType::DetailDisclosureButton);
    EXPECT_EQ(at(cell.accessoryRect()), Part::DetailDisclosureButton);
    cell.setAccessoryView(new QWidget); // takes its touches itself
    EXPECT_EQ(at(cell.accessoryRect()), Part::Row);
}

TEST(BarButtonItem, ATriggerOrAClickRunsTheActionOnlyWhileEnabled) {
    int runs = 0;
    BarButtonItem item(BarButtonSystemItem::Refresh, [&] { ++runs; });
    item.trigger();
    auto* button = qobject_cast<QAbstractButton*>(item.widget());
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(runs, 2);
    item.setEnabled(false);
    item.trigger();
    button->click();
    EXPECT_EQ(runs, 2);

    BarButtonItem(BarButtonSystemItem::Done, {}).trigger(); // no action: nothing happens
}

TEST(BarButtonItem, OwnsItsCustomViewAndItsWidget) {
    QPointer<QWidget> custom = new QWidget;
    QPointer<QWidget> widget;
    {
        BarButtonItem item(custom);
        EXPECT_EQ(item.widget(), custom);
        BarButtonItem titled("Edit", BarButtonItemStyle::Bordered, [] {});
        widget = titled.widget();
    }
    EXPECT_TRUE(custom.isNull());
    EXPECT_TRUE(widget.isNull());
}

TEST(NavigationItem, ReplacingAButtonDeletesTheOldOneAndTellsTheBar) {
    NavigationItem item("Title");
    int changes = 0;
    item.setChangeHandler([&] { ++changes; });
    auto* first = new BarButtonItem("One", BarButtonItemStyle::Plain, {});
    QPointer<QWidget> firstWidget = first->widget();
    item.setRightBarButtonItem(first);
    item.setRightBarButtonItem(new BarButtonItem("Two", BarButtonItemStyle::Plain, {}));
    EXPECT_TRUE(firstWidget.isNull());
    EXPECT_EQ(changes, 2);
}

namespace {

class RecordingTouchView : public TouchView {
public:
    void touchesBegan(const Touch& touch) override { began.append(touch.tapCount); }
    void touchesEnded(const Touch& touch) override {
        ended.append(touch.tapCount);
        lastLocation = touch.locationInView;
    }
    QList<int> began, ended;
    Point lastLocation;
};

void clickAt(QWidget* widget, QPoint position, quint64 milliseconds) {
    mouse(widget, QEvent::MouseButtonPress, position, Qt::LeftButton, milliseconds);
    mouse(widget, QEvent::MouseButtonRelease, position, Qt::LeftButton, milliseconds + 50);
}

} // namespace

TEST(TouchView, MouseClicksBecomeTouchesWithTapCounts) {
    RecordingTouchView view;
    view.resize(Screen::px(320), Screen::px(480));
    const QPoint here(Screen::px(100), Screen::px(100));
    for (const quint64 at : {1000, 1200, 1400}) {
        clickAt(&view, here, at);
    }
    clickAt(&view, here + QPoint(0, Screen::px(50)), 3000);
    EXPECT_EQ(view.began, QList<int>({1, 2, 3, 1}));
    EXPECT_EQ(view.ended, view.began);
    EXPECT_NEAR(view.lastLocation.y, 150, 0.5);
}

TEST(Window, RootViewFillsTheWindowAndFollowsItsSize) {
    Window window;
    auto* root = new QWidget;
    window.setRootView(root);
    window.makeKeyAndVisible();
    window.resize(Screen::px(400), Screen::px(600));
    EXPECT_EQ(root->geometry(), window.rect());
    window.hide();
}
