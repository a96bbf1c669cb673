#include "platform/ui/TableViewSectionHeaders.h"

#include "platform/ui/Geometry.h"

#include <QPointer>
#include <gtest/gtest.h>

using namespace ui;

namespace {

TEST(TableViewSectionHeaders, AutomaticHeightsByStyleAndTitle) {
    QWidget host;
    TableViewSectionHeaders plain(&host, TableViewStyle::Plain);
    TableViewSectionHeaders grouped(&host, TableViewStyle::Grouped);
    for (TableViewSectionHeaders* headers : {&plain, &grouped}) {
        headers->append("Titled", nullptr);
        headers->append("", nullptr);
        EXPECT_EQ(headers->automaticHeight(0, 30.0), 30) << "the delegate's height wins";
    }
    EXPECT_EQ(plain.automaticHeight(0, std::nullopt), 22);
    EXPECT_EQ(plain.automaticHeight(1, 30.0), 0) << "an untitled plain header takes no room";
    EXPECT_EQ(grouped.automaticHeight(0, std::nullopt), 46);
    EXPECT_EQ(grouped.automaticHeight(1, std::nullopt), TableViewSectionHeaders::kGroupedGap);
}

TEST(TableViewSectionHeaders, ViewsBelongToTheHostTakeTheirHeightAndFollowTheScroll) {
    QWidget host;
    TableViewSectionHeaders headers(&host, TableViewStyle::Grouped);
    auto* view = new QWidget;
    setFrame(view, {0, 0, 100, 30});
    headers.append("Ignored for the height", view);
    EXPECT_EQ(headers.automaticHeight(0, 22.0), 30);
    TableViewGeometry geometry;
    geometry.reset(40, 0);
    geometry.appendSection(30, {44}, 0);
    headers.placeViews(geometry, 15, {0, 320});
    EXPECT_EQ(frame(view), (Rect{0, 25, 320, 30}));
    QPointer<QWidget> watched = view;
    headers.clear();
    EXPECT_TRUE(watched.isNull());
}

} // namespace
