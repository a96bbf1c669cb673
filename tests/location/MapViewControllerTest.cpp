#include "MapScreenFixture.h"
#include "location/MapAnnotation.h"
#include "location/MapAnnotationView.h"
#include "platform/services/ReverseGeocoder.h"
#include "platform/ui/Label.h"
#include "platform/ui/MapCalloutView.h"
#include "platform/ui/MapView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "support/EventLoop.h"

namespace {

using MapViewControllerTest = MapScreenFixture;

bool answered(MapViewController* screen) {
    return !screen->mapPin()->reverseGeocoder()->isQuerying();
}

TEST_F(MapViewControllerTest, TheCalloutShowsTheCoordinatesUntilThePlaceIsFound) {
    show(35.6812, 139.7671);
    EXPECT_EQ(screen->title(), "Location");
    EXPECT_EQ(screen->calloutText(), "Here\n35.681200, 139.767100");
    ASSERT_TRUE(testenv::processEventsUntil([&] { return answered(screen); }));
    EXPECT_EQ(screen->calloutText(), "Here\nTokyo, Japan");
    // The map selected the pin once loaded; its open callout changed in place.
    ASSERT_NE(screen->mapView()->calloutView(), nullptr);
    EXPECT_EQ(screen->mapView()->calloutView()->title(), "Here");
    EXPECT_EQ(screen->mapView()->calloutView()->subtitle(), "Tokyo, Japan");
}

TEST_F(MapViewControllerTest, FarFromAnyPlaceTheCoordinatesStay) {
    show(-0.5, -140.25);
    ASSERT_TRUE(testenv::processEventsUntil([&] { return answered(screen); }));
    EXPECT_FALSE(screen->mapPin()->placemark());
    EXPECT_EQ(screen->mapPin()->subtitle(), "-0.500000, -140.250000");
}

TEST_F(MapViewControllerTest, ThePinSitsAtTheCentreOfItsRegion) {
    show(48.8566, 2.3522);
    ui::MapView* map = screen->mapView();
    EXPECT_NEAR(map->centerCoordinate().latitude, 48.8566, 1e-6);
    // Fitted again once laid out above the toolbar: the span fits one way.
    const ui::CoordinateSpan span = map->region().span;
    // Without imagery, the region around the pin rather than its street.
    // (Mercator stretches latitudes: the span fits within a few hundredths of a degree.)
    EXPECT_NEAR(std::min(span.latitudeDelta, span.longitudeDelta),
                MapViewController::kOutlinePinSpan, 0.1);
    EXPECT_TRUE(stack->isNavigationBarHidden());
    auto* pin = dynamic_cast<MapAnnotationView*>(map->viewForAnnotation(screen->mapPin()));
    ASSERT_NE(pin, nullptr);
    EXPECT_FALSE(pin->isEnabled());
    EXPECT_EQ(pin->reuseIdentifier(), "MapPin");
    // A disabled pin is not dragged.
    const ui::Point before = pin->center();
    pin->touchesBegan({1, {12, 20}});
    pin->touchesMoved({1, {40, 20}});
    pin->touchesEnded({1, {40, 20}});
    EXPECT_EQ(pin->center(), before);
    // Placing it again replaces the pin.
    const MapAnnotation* first = screen->mapPin();
    screen->setPinAtCenter({35.6812, 139.7671});
    EXPECT_NE(screen->mapPin(), first);
    EXPECT_EQ(map->annotations().size(), 1);
}

TEST_F(MapViewControllerTest, WithoutATileSourceOnlyTheStandardMapIsOffered) {
    show(48.8566, 2.3522);
    ui::SegmentedControl* segments = screen->mapTypeControl();
    ASSERT_EQ(segments->numberOfSegments(), 3);
    EXPECT_EQ(segments->items(), QStringList({"Map", "Satellite", "Hybrid"}));
    EXPECT_EQ(segments->selectedSegmentIndex(), 0);
    EXPECT_FALSE(segments->isEnabledForSegmentAtIndex(1));
    segments->tapSegmentAtIndex(2);
    EXPECT_EQ(screen->mapView()->mapType(), ui::MapType::Standard);
    const auto notes = screen->view()->findChildren<ui::Label*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0]->text().contains("ORMEL_TILE_URL"));
}

TEST_F(MapViewControllerTest, WithATileSourceTheSegmentsChooseTheMapType) {
    setTileSource();
    show(48.8566, 2.3522);
    ui::SegmentedControl* segments = screen->mapTypeControl();
    segments->tapSegmentAtIndex(2);
    EXPECT_EQ(screen->mapView()->mapType(), ui::MapType::Hybrid);
    segments->tapSegmentAtIndex(1);
    EXPECT_EQ(screen->mapView()->mapType(), ui::MapType::Satellite);
    segments->tapSegmentAtIndex(0);
    EXPECT_EQ(screen->mapView()->mapType(), ui::MapType::Standard);
    EXPECT_TRUE(screen->mapView()->findChildren<ui::Label*>().isEmpty());
    const QList<ui::BarButtonItem*> items = screen->toolbar()->items();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[3]->title(), "Close");
    EXPECT_EQ(items[3]->style(), ui::BarButtonItemStyle::Done);
}

TEST_F(MapViewControllerTest, CloseDismissesThePresentedStack) {
    auto* home = new ui::ViewController;
    ui::Window window;
    window.setRootViewController(home);
    window.makeKeyAndVisible();
    auto* map = new MapViewController(48.8566, 2.3522);
    QPointer<ui::NavigationController> presented = new ui::NavigationController(map);
    presented->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    home->presentModalViewControllerAnimated(presented, false);
    EXPECT_TRUE(presented->isNavigationBarHidden());
    ASSERT_EQ(map->toolbar()->items().size(), 4);
    map->toolbar()->items()[3]->trigger();
    EXPECT_EQ(home->modalViewController(), nullptr);
    testenv::flushEvents();
    EXPECT_TRUE(presented.isNull());
    window.hide();
    delete home;
}

class MapAnnotationViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        map.setRegion({{48.8566, 2.3522}, {0.005, 0.005}}, false);
        map.addAnnotation(&pin);
        view = new MapAnnotationView(&pin, "MapPin", &map);
        view->setMapView(&map);
        view->setCenter({100, 100});
        view->touchesBegan({1, {12, 30}});
    }
    void move(double dx, double dy) { view->touchesMoved({1, {12 + dx, 30 + dy}}); }

    ui::MapView map{{0, 0, 320, 416}};
    MapAnnotation pin{{48.8566, 2.3522}, "Here"};
    MapAnnotationView* view = nullptr;
};

TEST_F(MapAnnotationViewTest, FivePointsDoNotStartADragSixDo) {
    move(5, 0);
    move(0, -5.9); // truncated to 5
    EXPECT_FALSE(view->isMoving());
    EXPECT_EQ(view->center(), (ui::Point{100, 100}));
    move(0, -6);
    EXPECT_TRUE(view->isMoving());
    EXPECT_EQ(view->center(), (ui::Point{100, 94}));
}

TEST_F(MapAnnotationViewTest, LettingGoMovesTheAnnotationAndCancellingPutsItBack) {
    move(40, 0);
    view->touchesCancelled({1, {52, 30}});
    EXPECT_FALSE(view->isMoving());
    EXPECT_EQ(view->center(), (ui::Point{100, 100}));

    view->touchesBegan({1, {12, 30}});
    move(40, 0);
    // The needle's tip, half the pin's height below its centre, marks the place.
    const ui::Coordinate tip = map.convertPointToCoordinateFromView({140, 120}, &map);
    view->touchesEnded({1, {52, 30}});
    EXPECT_FALSE(view->isMoving());
    // The map centred on the new place, which is geocoded anew.
    EXPECT_NEAR(pin.coordinate().latitude, tip.latitude, 1e-9);
    EXPECT_NEAR(pin.coordinate().longitude, tip.longitude, 1e-9);
    EXPECT_NEAR(map.centerCoordinate().longitude, tip.longitude, 1e-9);
    EXPECT_FALSE(pin.placemark());
    EXPECT_TRUE(pin.reverseGeocoder()->isQuerying());
}

} // namespace
