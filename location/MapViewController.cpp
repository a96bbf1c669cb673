#include "location/MapViewController.h"

#include "common/Resources.h"
#include "location/MapAnnotation.h"
#include "location/MapAnnotationView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/MapView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Toolbar.h"

#include <QVBoxLayout>

namespace {

const QString kPinIdentifier = QStringLiteral("MapPin");

} // namespace

MapViewController::MapViewController(double latitude, double longitude)
    : MapViewController(ui::Coordinate{latitude, longitude}) {}

MapViewController::MapViewController(ui::Coordinate coordinate) : location_(coordinate) {
    setTitle(Resources::text("SaveLocation"));
}

MapViewController::~MapViewController() {
    // The map outlives the pin only until the view goes; it must not keep a pointer.
    if (mapView_ != nullptr && mapPin_ != nullptr) {
        mapView_->removeAnnotation(mapPin_.get());
    }
}

// The map over the toolbar.
void MapViewController::loadView() {
    auto* container = new QWidget();
    ui::setFrame(container, ui::Screen::bounds());
    auto* column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    mapView_ = new ui::MapView(ui::Screen::bounds(), container);
    column->addWidget(mapView_, 1);
    toolbar_ = new ui::Toolbar(container);
    column->addWidget(toolbar_);
    setView(container);
}

void MapViewController::viewDidLoad() {
    mapView_->setDelegate(this);
    mapView_->setZoomEnabled(true);
    mapView_->setScrollEnabled(true);
    mapView_->setShowsUserLocation(false);
    setPinAtCenter(location_);
    buildToolbar();
}

void MapViewController::buildToolbar() {
    segment_ =
        new ui::SegmentedControl({Resources::text("StandardMap"), Resources::text("SatelliteMap"),
                                  Resources::text("HybridMap")});
    segment_->setFixedSize(ui::Screen::px(220), ui::Screen::px(32));
    segment_->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    segment_->setSelectedSegmentIndex(0);
    segment_->setValueChangedAction([this] { changedMap(segment_); });
    const bool imagery = ui::MapView::hasImagerySource();
    for (int index : {1, 2}) {
        segment_->setEnabledForSegmentAtIndex(imagery, index);
    }
    toolbar_->setBarStyle(ui::BarStyle::Black);
    toolbar_->setItems(
        {new ui::BarButtonItem(ui::BarButtonSystemItem::FlexibleSpace, nullptr),
         new ui::BarButtonItem(segment_),
         new ui::BarButtonItem(ui::BarButtonSystemItem::FlexibleSpace, nullptr),
         new ui::BarButtonItem(Resources::text("Close"), ui::BarButtonItemStyle::Done,
                               [this] { closeAction(); })});
    if (!imagery) {
        // A line across the top of the map, as wide as the window.
        noImagery_ = new ui::Label(Resources::text("NoMapImagery"), view());
        noImagery_->setFont(ui::systemFontOfSize(11));
        noImagery_->setTextAlignment(Qt::AlignCenter);
        noImagery_->setBackgroundColor(ui::Color::colorWithWhiteAlpha(0.94, 1));
        noImagery_->setNumberOfLines(1);
        noImagery_->setFixedHeight(ui::Screen::px(20));
        static_cast<QVBoxLayout*>(view()->layout())->insertWidget(0, noImagery_);
    }
}

void MapViewController::viewWillAppear(bool animated) {
    if (ui::NavigationController* navigation = navigationController(); navigation != nullptr) {
        navigation->setNavigationBarHiddenAnimated(true, animated);
    }
    toolbar_->setBarStyle(ui::BarStyle::Black);
    toolbar_->show();
}

void MapViewController::viewWillDisappear(bool /*animated*/) {
    toolbar_->hide();
}

// The shipped map has country outlines only: a street's span of it shows one colour
// and nothing to place the pin by, so without imagery the pin shows in its region.
void MapViewController::setPinAtCenter(ui::Coordinate coordinate) {
    const double span = ui::MapView::hasImagerySource() ? kPinSpan : kOutlinePinSpan;
    mapView_->setRegion({coordinate, {span, span}}, true);
    if (mapPin_ != nullptr) {
        mapView_->removeAnnotation(mapPin_.get());
    }
    mapPin_ = std::make_unique<MapAnnotation>(coordinate, Resources::text("Here"));
    mapPin_->setMapView(mapView_);
    mapView_->addAnnotation(mapPin_.get());
}

void MapViewController::mapViewDidFinishLoadingMap(ui::MapView* mapView) {
    if (mapPin_ != nullptr) {
        mapView->selectAnnotation(mapPin_.get(), true);
    }
}

ui::PinAnnotationView* MapViewController::mapViewViewForAnnotation(ui::MapView* mapView,
                                                                   ui::Annotation* annotation) {
    if (annotation != mapPin_.get()) {
        return nullptr;
    }
    auto* view = dynamic_cast<MapAnnotationView*>(
        mapView->dequeueReusableAnnotationViewWithIdentifier(kPinIdentifier));
    if (view == nullptr) {
        view = new MapAnnotationView(annotation, kPinIdentifier);
        view->setEnabled(true);
        view->setCanShowCallout(true);
        view->setAnimatesDrop(true);
        view->setMultipleTouchEnabled(false);
    }
    // On this screen the pin is only shown: the reading is where it is.
    view->setEnabled(false);
    view->setMapView(mapView);
    return view;
}

void MapViewController::changedMap(ui::SegmentedControl* control) {
    const int index = control->selectedSegmentIndex();
    mapView_->setMapType(index == 1   ? ui::MapType::Satellite
                         : index == 2 ? ui::MapType::Hybrid
                                      : ui::MapType::Standard);
}

void MapViewController::closeAction() {
    // The screen is presented inside a navigation stack of its own: that goes.
    ui::ViewController* presented = navigationController();
    (presented != nullptr ? presented : this)->dismissModalViewControllerAnimated(true);
}

QString MapViewController::calloutText() const {
    if (mapPin_ == nullptr) {
        return {};
    }
    return mapPin_->title() + QLatin1Char('\n') + mapPin_->subtitle();
}
