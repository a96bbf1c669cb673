#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

namespace {

TEST(LabelFit, ShrinksLongTextDownToTheMinimumBeforeTruncating) {
    ui::Label label;
    label.setFont(ui::systemFontOfSize(12));
    label.setText(QStringLiteral("PID: 4194303"));
    ui::setFrame(&label, {0, 0, 60, 20});
    EXPECT_EQ(label.shownFont().pixelSize(), ui::Screen::px(12)); // off: drawn as set

    label.setAdjustsFontSizeToFitWidth(true);
    label.setMinimumFontSize(8);
    const QFont fitted = label.shownFont();
    EXPECT_LT(fitted.pixelSize(), ui::Screen::px(12));
    EXPECT_GE(fitted.pixelSize(), ui::Screen::px(8));
    EXPECT_EQ(
        QFontMetrics(fitted).elidedText(label.text(), Qt::ElideRight, label.contentsRect().width()),
        label.text()); // drawn whole

    label.setText(QStringLiteral("PID: 1"));
    EXPECT_EQ(label.shownFont().pixelSize(), ui::Screen::px(12)); // short text keeps its size
    label.setText(QString(200, 'W'));
    EXPECT_EQ(label.shownFont().pixelSize(), ui::Screen::px(8)); // never below the minimum
}

} // namespace
