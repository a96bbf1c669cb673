#pragma once

#include "platform/ui/MapGeometry.h"
#include "platform/ui/TouchView.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointer>
#include <QPolygonF>
#include <QString>

#include <map>
#include <optional>
#include <vector>

class QPainter;

namespace ui {

class Annotation;
class MapCalloutView;
class MapTileSource;
class MapViewDelegate;
class PinAnnotationView;

// The kit's map: the world's countries drawn offline in the spherical Mercator
// projection, wrapping east to west, with pins marking annotations and a callout
// over the selected one. A drag pans; the wheel, a pinch, a double tap and the + and
// - keys zoom. Satellite and hybrid maps show imagery tiles from the server
// ORMEL_TILE_URL names (see MapTileSource); without one they draw the standard map.
class MapView : public TouchView {
public:
    static constexpr double kMinimumZoom = 0;
    static constexpr double kMaximumZoom = 19;
    // The width of the world, in points, at zoom 0.
    static constexpr double kWorldWidth = 256;

    explicit MapView(Rect frame = Screen::bounds(), QWidget* parent = nullptr);
    ~MapView() override;

    MapViewDelegate* delegate() const { return delegate_; }
    void setDelegate(MapViewDelegate* delegate) { delegate_ = delegate; }

    MapType mapType() const { return mapType_; }
    void setMapType(MapType type);
    // Whether satellite and hybrid maps have a tile server to draw from.
    static bool hasImagerySource();

    bool isZoomEnabled() const { return zoomEnabled_; }
    void setZoomEnabled(bool enabled) { zoomEnabled_ = enabled; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool showsUserLocation() const { return showsUserLocation_; }
    void setShowsUserLocation(bool shows) { showsUserLocation_ = shows; }

    // Zoom z shows the world kWorldWidth · 2^z points wide; kept within the limits.
    double zoomLevel() const { return zoom_; }
    void setZoomLevel(double zoom);
    Coordinate centerCoordinate() const;
    void setCenterCoordinate(Coordinate center, bool animated);
    // The region on screen; setting one shows at least its span around its centre.
    CoordinateRegion region() const;
    void setRegion(CoordinateRegion region, bool animated);
    // Between map coordinates and points of `view` (this view when nullptr).
    Point convertCoordinateToPointToView(Coordinate coordinate, const QWidget* view) const;
    Coordinate convertPointToCoordinateFromView(Point point, const QWidget* view) const;

    // The map keeps the annotation until it is removed; the caller keeps ownership.
    void addAnnotation(Annotation* annotation);
    void removeAnnotation(Annotation* annotation);
    QList<Annotation*> annotations() const { return annotations_; }
    PinAnnotationView* viewForAnnotation(Annotation* annotation) const;
    // A view that marked a removed annotation, with that reuse identifier, or nullptr.
    PinAnnotationView* dequeueReusableAnnotationViewWithIdentifier(const QString& identifier);
    // Selecting opens the annotation's callout when its view has one.
    void selectAnnotation(Annotation* annotation, bool animated);
    void deselectAnnotation(Annotation* annotation, bool animated);
    QList<Annotation*> selectedAnnotations() const;
    // The annotation's title or subtitle changed: the open callout shows the new texts.
    void annotationCalloutInfoDidChange(Annotation* annotation);
    // The open callout, or nullptr.
    MapCalloutView* calloutView() const;

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct ProjectedRing {
        QPolygonF points; // world points at one zoom
        QRectF bounds;
    };

    Size viewSize() const;
    double worldWidth() const;
    // The world point (at the current zoom) at the view's top-left corner.
    Point origin() const;
    void setCenterUnit(Point unit);
    void fitRegion(CoordinateRegion region, bool animated);
    void zoomAround(double zoom, Point anchor);
    void regionChanged();
    void layoutAnnotations();
    const std::vector<ProjectedRing>& projectedRings();
    void paintImagery(QPainter& painter);
    void paintOutlines(QPainter& painter, bool fill);
    QPainterPath outlinePath(Point origin, Size size);
    static void drawOutlines(QPainter& painter, const QPainterPath& path, bool fill);
    const QImage& worldImage(bool fill);
    void finishLoading();

    MapViewDelegate* delegate_ = nullptr;
    MapType mapType_ = MapType::Standard;
    bool zoomEnabled_ = true;
    bool scrollEnabled_ = true;
    bool showsUserLocation_ = false;
    double zoom_ = kMinimumZoom;
    Point centerUnit_{0.5, 0.5};
    // The region last set, fitted again when the view's size changes until the user
    // pans or zooms.
    std::optional<CoordinateRegion> requestedRegion_;
    QList<Annotation*> annotations_;
    QHash<Annotation*, PinAnnotationView*> views_;
    QList<PinAnnotationView*> reusable_;
    Annotation* selected_ = nullptr;
    QPointer<MapCalloutView> callout_;
    MapTileSource* tiles_ = nullptr;
    std::map<double, std::vector<ProjectedRing>> projected_; // by world width
    QImage worldImage_;
    double worldImageWidth_ = 0;
    double worldImageScale_ = 0;
    bool worldImageFilled_ = false;
    Point dragStart_;
    Point dragCenter_;
    bool dragging_ = false;
    double pinchDistance_ = 0;
    double pinchZoom_ = 0;
};

} // namespace ui
