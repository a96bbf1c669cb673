#include "platform/ui/MapView.h"
#include "platform/ui/Annotation.h"
#include "platform/ui/MapCalloutView.h"
#include "platform/ui/MapOutlines.h"
#include "platform/ui/PinAnnotationView.h"
#include "platform/ui/SegmentedControl.h"
#include "support/EventLoop.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Marker : ui::Annotation {
    ui::Coordinate coordinate() const override { return at; }
    QString title() const override { return QStringLiteral("Marker"); }
    QString subtitle() const override { return note; }
    ui::Coordinate at;
    QString note = QStringLiteral("first");
};

constexpr ui::Coordinate kParis{48.8566, 2.3522};

QColor colourAtCentre(ui::MapView& map) {
    const QImage image = map.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(MapView, CoordinatesAndPointsConvertBothWays) {
    ui::MapView map({0, 0, 320, 416});
    // From zoom 3 on the world is taller than the view, and the centre moves freely.
    for (double zoom : {3.5, 12.0, ui::MapView::kMaximumZoom}) {
        map.setZoomLevel(zoom);
        for (ui::Coordinate centre :
             {kParis, ui::Coordinate{-33.87, 151.21}, ui::Coordinate{64.7, 179.99}}) {
            map.setCenterCoordinate(centre, false);
            const ui::Point middle = map.convertCoordinateToPointToView(centre, nullptr);
            EXPECT_NEAR(middle.x, 160, 1e-6);
            EXPECT_NEAR(middle.y, 208, 1e-6);
            const ui::Point corner{17, 33};
            const ui::Coordinate there = map.convertPointToCoordinateFromView(corner, nullptr);
            const ui::Point back = map.convertCoordinateToPointToView(there, nullptr);
            EXPECT_NEAR(back.x, corner.x, 1e-6) << zoom;
            EXPECT_NEAR(back.y, corner.y, 1e-6) << zoom;
        }
    }
}

TEST(MapView, TheWorldWrapsAcrossTheAntimeridian) {
    ui::MapView map({0, 0, 320, 416});
    map.setZoomLevel(6);
    map.setCenterCoordinate({-17, 179.9}, false);
    // Just east of 180° lies to the right of the centre, not a world away.
    const ui::Point east = map.convertCoordinateToPointToView({-17, -179.9}, nullptr);
    EXPECT_GT(east.x, 160);
    EXPECT_LT(east.x, 170);
    EXPECT_NEAR(map.convertPointToCoordinateFromView(east, nullptr).longitude, -179.9, 1e-9);
}

TEST(MapView, ZoomStaysWithinItsLimits) {
    ui::MapView map({0, 0, 320, 416});
    map.setZoomLevel(40);
    EXPECT_EQ(map.zoomLevel(), ui::MapView::kMaximumZoom);
    map.setZoomLevel(-2);
    EXPECT_EQ(map.zoomLevel(), ui::MapView::kMinimumZoom);
    map.setRegion({kParis, {0, 0}}, false);
    EXPECT_EQ(map.zoomLevel(), ui::MapView::kMaximumZoom);
    // A region shows at least its span, fitting it in one direction.
    for (const ui::Size size : {ui::Size{320, 416}, ui::Size{320, 200}}) {
        ui::setFrame(&map, {0, 0, size.width, size.height});
        map.setRegion({kParis, {0.005, 0.005}}, false);
        const ui::CoordinateRegion shown = map.region();
        EXPECT_NEAR(shown.center.latitude, kParis.latitude, 1e-9);
        EXPECT_NEAR(shown.center.longitude, kParis.longitude, 1e-9);
        const double latitudeExcess = shown.span.latitudeDelta - 0.005;
        const double longitudeExcess = shown.span.longitudeDelta - 0.005;
        EXPECT_NEAR(std::min(latitudeExcess, longitudeExcess), 0, 1e-9);
        EXPECT_GE(std::max(latitudeExcess, longitudeExcess), 0);
    }
    // Zoomed out all the way, the centre stays on the map's middle row.
    ui::setFrame(&map, {0, 0, 320, 416});
    map.setRegion({{80, 0}, {500, 500}}, false);
    EXPECT_EQ(map.zoomLevel(), ui::MapView::kMinimumZoom);
    EXPECT_NEAR(map.centerCoordinate().latitude, 0, 1e-9);
}

TEST(MapView, DrawsLandAndSeaAtEveryZoom) {
    ASSERT_FALSE(ui::MapOutlines::shared().isEmpty());
    ui::MapView map({0, 0, 320, 416});
    for (double zoom : {2.0, 8.0, ui::MapView::kMaximumZoom}) {
        map.setZoomLevel(zoom);
        map.setCenterCoordinate(kParis, false);
        const QColor land = colourAtCentre(map);
        map.setCenterCoordinate({30, -40}, false);
        const QColor sea = colourAtCentre(map);
        EXPECT_NE(land, sea) << zoom;
        // Lesotho lies in a hole of South Africa's outline and is drawn as land.
        map.setCenterCoordinate({-29.5, 28.2}, false);
        EXPECT_EQ(colourAtCentre(map), land) << zoom;
        // Russia's outline crosses 180°: Chukotka, east of it, is land too (from zoom 8
        // on the point lies clear of its coast lines).
        if (zoom >= 8) {
            map.setCenterCoordinate({66.5, -175}, false);
            EXPECT_EQ(colourAtCentre(map), land) << zoom;
        }
    }
}

TEST(MapView, SelectingOpensTheCalloutAndItFollowsTheTexts) {
    ui::MapView map({0, 0, 320, 416});
    Marker marker;
    marker.at = kParis;
    map.setRegion({kParis, {0.005, 0.005}}, false);
    map.addAnnotation(&marker);
    ui::PinAnnotationView* pin = map.viewForAnnotation(&marker);
    ASSERT_NE(pin, nullptr);
    // The needle's tip marks the coordinate.
    const ui::Rect box = ui::frame(pin);
    EXPECT_NEAR(box.x + box.width / 2, 160, 0.01);
    EXPECT_NEAR(box.y + box.height, 208, 0.01);
    EXPECT_EQ(map.calloutView(), nullptr);
    pin->touchesEnded({});
    ASSERT_NE(map.calloutView(), nullptr);
    EXPECT_EQ(map.calloutView()->subtitle(), "first");
    marker.note = QStringLiteral("second");
    map.annotationCalloutInfoDidChange(&marker);
    EXPECT_EQ(map.calloutView()->subtitle(), "second");
    map.touchesBegan({1, {10, 10}});
    map.touchesEnded({1, {10, 10}});
    EXPECT_EQ(map.calloutView(), nullptr);
    map.removeAnnotation(&marker);
    EXPECT_EQ(map.dequeueReusableAnnotationViewWithIdentifier("pin"), pin);
}

TEST(MapView, DragPansAndDoubleTapZoomsIn) {
    ui::MapView map({0, 0, 320, 416});
    map.setZoomLevel(10);
    map.setCenterCoordinate(kParis, false);
    const ui::Coordinate left = map.convertPointToCoordinateFromView({100, 208}, nullptr);
    map.touchesBegan({1, {100, 208}});
    map.touchesMoved({1, {160, 208}});
    map.touchesEnded({1, {160, 208}});
    EXPECT_NEAR(map.centerCoordinate().longitude, left.longitude, 1e-9);
    map.touchesBegan({2, {160, 208}});
    map.touchesEnded({2, {160, 208}});
    EXPECT_EQ(map.zoomLevel(), 11);
}

TEST(MapView, KeysAndTheWheelZoomAroundTheirPoint) {
    ui::MapView map({0, 0, 320, 416});
    map.setZoomLevel(10);
    map.setCenterCoordinate(kParis, false);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+");
    QCoreApplication::sendEvent(&map, &plus);
    EXPECT_EQ(map.zoomLevel(), 11);
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, "-");
    QCoreApplication::sendEvent(&map, &minus);
    QCoreApplication::sendEvent(&map, &minus);
    EXPECT_EQ(map.zoomLevel(), 9);
    // The place under the wheel stays under it.
    const QPointF at(40 * ui::Screen::scale(), 50 * ui::Screen::scale());
    const ui::Coordinate under = map.convertPointToCoordinateFromView({40, 50}, nullptr);
    QWheelEvent wheel(at, at, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&map, &wheel);
    EXPECT_EQ(map.zoomLevel(), 9.5);
    const ui::Point still = map.convertCoordinateToPointToView(under, nullptr);
    EXPECT_NEAR(still.x, 40, 1e-6);
    EXPECT_NEAR(still.y, 50, 1e-6);
}

TEST(SegmentedControl, ADisabledSegmentCannotBeChosen) {
    ui::SegmentedControl control({"a", "b", "c"});
    control.setSelectedSegmentIndex(0);
    control.setEnabledForSegmentAtIndex(false, 2);
    control.tapSegmentAtIndex(2);
    EXPECT_EQ(control.selectedSegmentIndex(), 0);
    control.setEnabledForSegmentAtIndex(true, 2);
    control.tapSegmentAtIndex(2);
    EXPECT_EQ(control.selectedSegmentIndex(), 2);
}

} // namespace
