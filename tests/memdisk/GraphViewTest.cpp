#include "memdisk/GraphView.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

const ui::Color kA{0, 0.7, 0, 1};
const ui::Color kB{0.7, 0, 0, 1};
const ui::Color kOutline{0.667, 0.667, 0.667, 1};

// The chart is 100 × 106 points at a scale of 1: centre (50, 53), radius 40.
constexpr int kCx = 50;
constexpr int kCy = 53;

class GraphViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedScale = ui::Screen::scale();
        ui::Screen::setScale(1);
    }
    void TearDown() override { ui::Screen::setScale(savedScale); }

    static QImage draw(GraphView& graph) {
        QImage image(100, 106, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        graph.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    static QImage draw(const std::vector<std::pair<float, ui::Color>>& entries) {
        GraphView graph({0, 0, 100, 106});
        for (const auto& [value, color] : entries) {
            graph.setDataWithColor(value, color);
        }
        return draw(graph);
    }

    double savedScale = 1;
};

// Whether the pixel at (x, y) of the image is `color`, opaque (up to rounding).
::testing::AssertionResult isColor(const QImage& image, int x, int y, const ui::Color& color) {
    const QColor pixel = image.pixelColor(x, y);
    const QColor want = color.toQColor();
    const bool close = std::abs(pixel.red() - want.red()) <= 3 &&
                       std::abs(pixel.green() - want.green()) <= 3 &&
                       std::abs(pixel.blue() - want.blue()) <= 3 && pixel.alpha() == 255;
    if (close) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << x << ", " << y << ") is " << pixel.name(QColor::HexArgb).toStdString()
           << ", not " << want.name(QColor::HexArgb).toStdString();
}

bool isClear(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).alpha() == 0;
}

TEST(GraphViewAngles, RadiansAreSinglePrecision) {
    EXPECT_EQ(radians(180), 3.1415927F);
    EXPECT_EQ(radians(270), 4.712389F);
    EXPECT_EQ(radians(0), 0.0F);
}

TEST(GraphViewAngles, CompareOrdersLargestFirst) {
    const QVariantMap small{{GraphViewDataValueKey, 10.0F}};
    const QVariantMap large{{GraphViewDataValueKey, 30.0F}};
    EXPECT_EQ(compare(large, small, GraphViewDataValueKey), -1);
    EXPECT_EQ(compare(small, large, GraphViewDataValueKey), 1);
    EXPECT_EQ(compare(small, small, GraphViewDataValueKey), 0);
}

TEST_F(GraphViewTest, StartsEmptyAndKeepsTheTotal) {
    GraphView graph({0, 0, 100, 106});
    EXPECT_EQ(graph.radius(), 40.0F);
    EXPECT_EQ(graph.clockwise(), 0);
    EXPECT_EQ(graph.offset(), 0);
    EXPECT_EQ(graph.total(), 0.0F);
    graph.setDataWithColor(30, kA);
    graph.setDataWithColor(10.5F, kB);
    EXPECT_EQ(graph.total(), 40.5F);
    ASSERT_EQ(graph.data().size(), 2);
    EXPECT_EQ(graph.data().at(1).value(GraphViewDataValueKey).toFloat(), 10.5F);
    EXPECT_EQ(graph.data().at(1).value(GraphViewDataColorKey).value<ui::Color>(), kB);
    graph.clearData();
    EXPECT_TRUE(graph.data().isEmpty());
    EXPECT_EQ(graph.total(), 0.0F);
}

TEST_F(GraphViewTest, TheLargerSliceRunsClockwiseFromTwelveToNine) {
    const QImage image = draw({{30, kA}, {10, kB}});
    EXPECT_TRUE(isColor(image, kCx + 14, kCy - 14, kA)); // upper right
    EXPECT_TRUE(isColor(image, kCx + 14, kCy + 14, kA)); // lower right
    EXPECT_TRUE(isColor(image, kCx - 14, kCy + 14, kA)); // lower left
    EXPECT_TRUE(isColor(image, kCx - 14, kCy - 14, kB)); // upper left
    // The boundaries: 12 o'clock and 9 o'clock.
    EXPECT_TRUE(isColor(image, kCx + 2, kCy - 28, kA));
    EXPECT_TRUE(isColor(image, kCx - 3, kCy - 28, kB));
    EXPECT_TRUE(isColor(image, kCx - 28, kCy + 2, kA));
    EXPECT_TRUE(isColor(image, kCx - 28, kCy - 3, kB));
    // Nothing outside the disc.
    EXPECT_TRUE(isClear(image, kCx + 40, kCy - 40));
    EXPECT_TRUE(isClear(image, 2, 2));
}

TEST_F(GraphViewTest, InsertionOrderDoesNotMatter) {
    EXPECT_EQ(draw({{10, kB}, {30, kA}}), draw({{30, kA}, {10, kB}}));
}

TEST_F(GraphViewTest, AZeroEntryChangesNothingVisible) {
    EXPECT_EQ(draw({{30, kA}, {0, ui::Color::blue()}, {10, kB}}), draw({{30, kA}, {10, kB}}));
}

TEST_F(GraphViewTest, OneEntryFillsTheDisc) {
    const QImage image = draw({{7, kB}});
    for (const auto& [dx, dy] :
         {std::pair{14, -14}, {14, 14}, {-14, 14}, {-14, -14}, {2, -28}, {-3, -28}, {0, 0}}) {
        EXPECT_TRUE(isColor(image, kCx + dx, kCy + dy, kB));
    }
}

TEST_F(GraphViewTest, ATotalOfZeroDrawsOnlyTheOutlineWithItsRadius) {
    for (const QImage& image : {draw({}), draw({{0, kA}, {0, kB}})}) {
        EXPECT_TRUE(isColor(image, kCx, kCy - 40, kOutline)); // the circle at 12
        EXPECT_TRUE(isColor(image, kCx - 40, kCy, kOutline)); // and at 9 o'clock
        EXPECT_TRUE(isColor(image, kCx + 20, kCy, kOutline)); // the radius to 3 o'clock
        EXPECT_TRUE(isClear(image, kCx - 20, kCy));           // no radius to 9
        EXPECT_TRUE(isClear(image, kCx + 14, kCy - 14));      // no slices
        EXPECT_TRUE(isClear(image, kCx - 14, kCy + 14));
    }
}

} // namespace
