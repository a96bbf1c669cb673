#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TouchView.h"
#include "platform/ui/Window.h"

#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPointer>
#include <gtest/gtest.h>

#include <cmath>

using namespace ui;

TEST(TableViewCell, StandardStylesLayOutTheirLabels) {
    TableViewCell value1(TableViewCellStyle::Value1, "v");
    value1.textLabel()->setText("Model");
    value1.detailTextLabel()->setText("iPhone");
    setFrame(&value1, {0, 0, 320, 44});
    value1.layoutSubviews();
    const Rect title = frame(value1.textLabel());
    const Rect detail = frame(value1.detailTextLabel());
    EXPECT_LT(title.x, detail.x);
    EXPECT_LE(title.x + title.width, detail.x);
    // The detail ends at the right margin of the content.
    EXPECT_NEAR(detail.x + detail.width, value1.contentBounds().width - 10, 1);

    TableViewCell subtitle(TableViewCellStyle::Subtitle, "s");
    setFrame(&subtitle, {0, 0, 320, 60});
    subtitle.layoutSubviews();
    EXPECT_LT(frame(subtitle.textLabel()).y, frame(subtitle.detailTextLabel()).y);

    TableViewCell plain("d");
    EXPECT_EQ(plain.detailTextLabel(), nullptr);
    EXPECT_EQ(plain.cellStyle(), TableViewCellStyle::Default);
}

TEST(TableViewCell, AccessoryAndEditingControlNarrowTheContent) {
    TableViewCell cell(TableViewCellStyle::Default, "c");
    setFrame(&cell, {0, 0, 320, 44});
    cell.layoutSubviews();
    EXPECT_EQ(cell.contentBounds().width, 320);
    cell.setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
    const double withChevron = cell.contentBounds().width;
    EXPECT_LT(withChevron, 320);
    cell.setEditing(true);
    EXPECT_LT(cell.contentBounds().width, withChevron);
    EXPECT_GT(frame(cell.contentView()).x, 0);

    auto* custom = new QWidget;
    setFrame(custom, {0, 0, 60, 30});
    QPointer<QWidget> watched = custom;
    cell.setAccessoryView(custom);
    EXPECT_EQ(custom->parentWidget(), &cell);
    cell.setAccessoryView(nullptr);
    EXPECT_TRUE(watched.isNull());
}

TEST(TableViewCell, SelectionHighlightsTheLabelsUnlessSelectionStyleIsNone) {
    TableViewCell cell(TableViewCellStyle::Value2, "c");
    auto* extra = new Label(cell.contentView());
    auto* plainLabel = new QLabel(cell.contentView());
    plainLabel->setText("not ours");
    cell.setSelected(true);
    EXPECT_TRUE(cell.textLabel()->isHighlighted());
    EXPECT_TRUE(extra->isHighlighted());
    cell.setSelected(false);
    EXPECT_FALSE(extra->isHighlighted());

    cell.setSelectionStyle(TableViewCellSelectionStyle::None);
    cell.setHighlighted(true);
    EXPECT_FALSE(cell.textLabel()->isHighlighted());
    cell.prepareForReuse();
    EXPECT_FALSE(cell.isHighlighted());
}

TEST(TableViewCell, ATouchLandsOnTheControlTheCellShowsThere) {
    TableViewCell cell("T");
    setFrame(&cell, {0, 0, 320, 44});
    const QPoint middle = cell.rect().center();
    EXPECT_EQ(cell.partAtPoint(middle), TableViewCell::Part::Row);
    // Hit areas count only while their control shows.
    EXPECT_EQ(cell.partAtPoint(cell.accessoryRect().center()), TableViewCell::Part::Row);
    cell.setAccessoryType(TableViewCellAccessoryType::DetailDisclosureButton);
    EXPECT_EQ(cell.partAtPoint(cell.accessoryRect().center()),
              TableViewCell::Part::DetailDisclosureButton);
    EXPECT_EQ(cell.partAtPoint(cell.deleteControlRect().center()), TableViewCell::Part::Row);
    cell.setEditing(true);
    EXPECT_EQ(cell.partAtPoint(cell.deleteControlRect().center()),
              TableViewCell::Part::DeleteControl);
    cell.setEditingStyle(TableViewCellEditingStyle::Insert);
    EXPECT_EQ(cell.partAtPoint(cell.deleteControlRect().center()), TableViewCell::Part::Row);
    cell.setShowsDeleteConfirmation(true);
    EXPECT_EQ(cell.partAtPoint(cell.deleteButtonRect().center()),
              TableViewCell::Part::DeleteButton);
    // A view of its own in place of the detail button takes its touches itself.
    cell.setShowsDeleteConfirmation(false);
    cell.setAccessoryView(new QWidget);
    EXPECT_EQ(cell.partAtPoint(cell.accessoryRect().center()), TableViewCell::Part::Row);
}

TEST(TableViewCell, GroupPositionsRoundTheFirstAndLastRowsOfAGroup) {
    using Position = TableViewCell::GroupPosition;
    EXPECT_EQ(TableViewCell::groupPositionOfRow(0, 1), Position::Single);
    EXPECT_EQ(TableViewCell::groupPositionOfRow(0, 3), Position::Top);
    EXPECT_EQ(TableViewCell::groupPositionOfRow(1, 3), Position::Middle);
    EXPECT_EQ(TableViewCell::groupPositionOfRow(2, 3), Position::Bottom);
}

TEST(Label, HighlightSwapsTheTextColour) {
    Label label("Text");
    label.setTextColor(Color{0.2, 0.3, 0.4, 1});
    label.setHighlightedTextColor(Color::white());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), (Color{0.2, 0.3, 0.4, 1}).toQColor());
    label.setHighlighted(true);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::white));
    label.setHighlighted(false);
    EXPECT_EQ(label.textColor(), (Color{0.2, 0.3, 0.4, 1}));
}

TEST(Label, OneLineByDefaultAndWrapsWhenUnlimited) {
    Label label;
    EXPECT_EQ(label.numberOfLines(), 1);
    EXPECT_FALSE(label.wordWrap());
    label.setNumberOfLines(0);
    EXPECT_TRUE(label.wordWrap());
    label.setTextAlignment(Qt::AlignRight);
    EXPECT_TRUE(label.alignment() & Qt::AlignRight);
    EXPECT_TRUE(label.alignment() & Qt::AlignVCenter);
}

TEST(Color, ConvertsToQColorAndCompares) {
    EXPECT_EQ(Color::red().toQColor(), QColor(255, 0, 0));
    EXPECT_EQ(Color::clear().toQColor().alpha(), 0);
    EXPECT_EQ(Color::fromQColor(QColor(0, 0, 255)), Color::blue());
    EXPECT_NE(Color::gray(), Color::lightGray());
    EXPECT_EQ(Color::redColor(), Color::red());
}

TEST(Image, LooksUpNamesInTheBundleWithSubfoldersAndCachesThem) {
    const QString dir = qEnvironmentVariable("ORMEL_RESOURCE_DIR");
    if (dir.isEmpty()) {
        GTEST_SKIP() << "no bundle directory for this run";
    }
    QDir().mkpath(dir + "/uitest-flags");
    QImage picture(16, 11, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir + "/uitest-flags/zz.png"));
    const Image image = Image::imageNamed("uitest-flags/zz.png");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), (Size{16, 11}));
    EXPECT_EQ(Image::imageNamed("uitest-flags/zz.png").pixmap().cacheKey(),
              image.pixmap().cacheKey());
    QDir(dir + "/uitest-flags").removeRecursively();
    EXPECT_TRUE(Image::imageNamed("uitest-flags/missing.png").isNull());
    EXPECT_TRUE(Image::imageNamed("").isNull());

    ImageView view(image);
    EXPECT_EQ(view.size(), QSize(Screen::px(16), Screen::px(11)));
}

TEST(BarButtonItem, TriggerRunsTheActionOnlyWhileEnabled) {
    int runs = 0;
    BarButtonItem item(BarButtonSystemItem::Refresh, [&] { ++runs; });
    EXPECT_EQ(static_cast<int>(BarButtonSystemItem::Refresh), 13);
    EXPECT_EQ(item.title(), "");
    EXPECT_EQ(item.accessibilityLabel(), "Refresh");
    item.trigger();
    item.setEnabled(false);
    item.trigger();
    EXPECT_EQ(runs, 1);
    item.setEnabled(true);
    // A click on its widget is a trigger as well.
    auto* button = qobject_cast<QAbstractButton*>(item.widget());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(item.widget(), button);
    button->click();
    EXPECT_EQ(runs, 2);

    BarButtonItem done(BarButtonSystemItem::Done, {});
    EXPECT_EQ(done.title(), "Done");
    EXPECT_EQ(done.style(), BarButtonItemStyle::Done);
    done.trigger(); // no action: nothing happens

    BarButtonItem space(BarButtonSystemItem::FlexibleSpace, {});
    EXPECT_EQ(space.widget(), nullptr);
}

TEST(BarButtonItem, OwnsItsCustomViewAndItsWidget) {
    auto* custom = new QWidget;
    QPointer<QWidget> watchedCustom = custom;
    QPointer<QWidget> watchedWidget;
    {
        BarButtonItem item(custom);
        EXPECT_EQ(item.widget(), custom);
        BarButtonItem titled("Edit", BarButtonItemStyle::Bordered, [] {});
        watchedWidget = titled.widget();
        EXPECT_EQ(titled.title(), "Edit");
    }
    EXPECT_TRUE(watchedCustom.isNull());
    EXPECT_TRUE(watchedWidget.isNull());
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
    EXPECT_EQ(item.rightBarButtonItem()->title(), "Two");
    item.setTitle("New");
    EXPECT_EQ(changes, 3);
}

TEST(Toolbar, LaysOutItemsWithFlexibleSpaceBetween) {
    Toolbar toolbar;
    setFrame(&toolbar, {0, 0, 320, 44});
    auto* left = new BarButtonItem(BarButtonSystemItem::Trash, {});
    auto* right = new BarButtonItem(BarButtonSystemItem::Action, {});
    toolbar.setItems({left, new BarButtonItem(BarButtonSystemItem::FlexibleSpace, {}), right});
    toolbar.show();
    EXPECT_EQ(toolbar.items().size(), 3);
    EXPECT_EQ(left->widget()->parentWidget(), &toolbar);
    EXPECT_LT(left->widget()->geometry().right(), Screen::px(60));
    EXPECT_GT(right->widget()->geometry().left(), Screen::px(250));
    EXPECT_EQ(frame(&toolbar).height, 44);
    toolbar.setItems({});
    EXPECT_TRUE(toolbar.items().isEmpty());
}

TEST(SegmentedControl, ValueChangedRunsOnTouchesThatChangeTheSelection) {
    SegmentedControl control({"Bytes", "Pages", "Percent"});
    int changes = 0;
    control.setValueChangedAction([&] { ++changes; });
    EXPECT_EQ(control.selectedSegmentIndex(), SegmentedControl::NoSegment);
    control.setSelectedSegmentIndex(1);
    EXPECT_EQ(changes, 0);
    control.tapSegmentAtIndex(1);
    EXPECT_EQ(changes, 0);
    control.tapSegmentAtIndex(2);
    EXPECT_EQ(control.selectedSegmentIndex(), 2);
    EXPECT_EQ(changes, 1);
    control.setSelectedSegmentIndex(7);
    EXPECT_EQ(control.selectedSegmentIndex(), 2);

    control.setMomentary(true);
    control.tapSegmentAtIndex(0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(control.selectedSegmentIndex(), SegmentedControl::NoSegment);
}

TEST(ProgressView, ClampsProgress) {
    ProgressView view(ProgressViewStyle::Bar);
    view.setProgress(0.25f);
    EXPECT_FLOAT_EQ(view.progress(), 0.25f);
    view.setProgress(1.5f);
    EXPECT_FLOAT_EQ(view.progress(), 1.0f);
    view.setProgress(-3.0f);
    EXPECT_FLOAT_EQ(view.progress(), 0.0f);
    view.setProgress(std::nanf(""));
    EXPECT_FLOAT_EQ(view.progress(), 0.0f);
}

namespace {

class RecordingTouchView : public TouchView {
public:
    void touchesBegan(const Touch& touch) override { began.append(touch.tapCount); }
    void touchesEnded(const Touch& touch) override {
        ended.append(touch.tapCount);
        lastLocation = touch.locationInView;
    }
    QList<int> began;
    QList<int> ended;
    Point lastLocation;
};

void click(QWidget* widget, QPoint position, quint64 milliseconds) {
    QMouseEvent press(QEvent::MouseButtonPress, position, widget->mapToGlobal(position),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    press.setTimestamp(milliseconds);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, position, widget->mapToGlobal(position),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    release.setTimestamp(milliseconds + 50);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

TEST(TouchView, MouseClicksBecomeTouchesWithTapCounts) {
    RecordingTouchView view;
    view.resize(Screen::px(320), Screen::px(480));
    const QPoint here(Screen::px(100), Screen::px(100));
    click(&view, here, 1000);
    click(&view, here, 1200);
    click(&view, here, 1400);
    click(&view, here, 3000);
    click(&view, here + QPoint(0, Screen::px(50)), 3100);
    EXPECT_EQ(view.began, QList<int>({1, 2, 3, 1, 1}));
    EXPECT_EQ(view.ended, view.began);
    EXPECT_NEAR(view.lastLocation.y, 150, 0.5);
}

TEST(Window, RootViewFillsTheWindowAndFollowsItsSize) {
    Window window;
    EXPECT_EQ(window.size(), QSize(Screen::px(320), Screen::px(480)));
    EXPECT_EQ(window.minimumSize(), QSize(Screen::px(320), Screen::px(480)));
    auto* root = new QWidget;
    window.setRootView(root);
    EXPECT_EQ(root->parentWidget(), &window);
    EXPECT_EQ(root->geometry(), window.rect());
    window.makeKeyAndVisible();
    EXPECT_EQ(Window::keyWindow(), &window);
    window.resize(Screen::px(400), Screen::px(600));
    EXPECT_EQ(root->geometry(), window.rect());
    window.hide();
}
