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

    static QImage draw(const std::vector<std::pair<float, ui::Color>>& entries) {
        GraphView graph({0, 0, 100, 106});
        for (const auto& [value, color] : entries) {
            graph.setDataWithColor(value, color);
        }
        QImage image(100, 106, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        graph.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
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

// The slices are sorted by size, the larger running clockwise from twelve to nine; an
// empty one takes no room.
TEST_F(GraphViewTest, TheLargerSliceRunsClockwiseFromTwelveToNine) {
    const QImage image = draw({{30, kA}, {10, kB}});
    // The boundaries: 12 o'clock and 9 o'clock.
    EXPECT_TRUE(isColor(image, kCx + 2, kCy - 28, kA));
    EXPECT_TRUE(isColor(image, kCx - 3, kCy - 28, kB));
    EXPECT_TRUE(isColor(image, kCx - 28, kCy + 2, kA));
    EXPECT_TRUE(isColor(image, kCx - 28, kCy - 3, kB));
    // Nothing outside the disc.
    EXPECT_TRUE(isClear(image, kCx + 40, kCy - 40));
    EXPECT_TRUE(isClear(image, 2, 2));
    EXPECT_EQ(draw({{10, kB}, {30, kA}}), image);
    EXPECT_EQ(draw({{30, kA}, {0, ui::Color::blue()}, {10, kB}}), image);
}

TEST_F(GraphViewTest, OneEntryFillsTheDiscAndATotalOfZeroDrawsOnlyTheOutline) {
    const QImage image = draw({{7, kB}});
    for (const auto& [dx, dy] :
         {std::pair{14, -14}, {14, 14}, {-14, 14}, {-14, -14}, {2, -28}, {-3, -28}, {0, 0}}) {
        EXPECT_TRUE(isColor(image, kCx + dx, kCy + dy, kB));
    }
    for (const QImage& empty : {draw({}), draw({{0, kA}, {0, kB}})}) {
        EXPECT_TRUE(isColor(empty, kCx, kCy - 40, kOutline));
        EXPECT_TRUE(isClear(empty, kCx - 14, kCy + 14)) << "no slices";
    }
}

} // namespace
