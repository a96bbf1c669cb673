#include "platform/ui/TableViewPainting.h"
#include "platform/ui/Geometry.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace ui;

namespace {

// WCAG 2 relative luminance of an sRGB colour.
double luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// The most contrasting pixel of a header drawn with a title, against the pixel at the
// header's left edge, where no title is.
double drawnTitleContrast(TableViewStyle style) {
    const QRect box(0, 0, Screen::px(320), Screen::px(46));
    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(sectionHeaderColors(style).backgrounds.back());
    QPainter painter(&image);
    paintTableViewSectionHeader(painter, box, style, QStringLiteral("MMMM Memory"));
    painter.end();
    const QColor background = image.pixelColor(1, box.height() - Screen::px(12));
    double best = 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            best = std::max(best, contrastRatio(image.pixelColor(x, y), background));
        }
    }
    return best;
}

} // namespace

TEST(SectionHeaderColors, TitlesReachFourAndAHalfToOneOnEveryBackgroundTheyStandOn) {
    for (const TableViewStyle style : {TableViewStyle::Plain, TableViewStyle::Grouped}) {
        const SectionHeaderColors colors = sectionHeaderColors(style);
        ASSERT_FALSE(colors.backgrounds.empty());
        for (const QColor& background : colors.backgrounds) {
            EXPECT_GE(contrastRatio(colors.title, background), 4.5)
                << "style " << static_cast<int>(style) << " on " << qPrintable(background.name());
        }
        EXPECT_GE(drawnTitleContrast(style), 4.5) << "style " << static_cast<int>(style);
    }
}
