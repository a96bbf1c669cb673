#include "platform/ui/MapView.h"

#include "platform/ui/Annotation.h"
#include "platform/ui/MapCalloutView.h"
#include "platform/ui/MapOutlines.h"
#include "platform/ui/MapTileSource.h"
#include "platform/ui/MapViewDelegate.h"
#include "platform/ui/PinAnnotationView.h"

#include <QKeyEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTouchEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

const QString kDefaultPinIdentifier = QStringLiteral("pin");
const QColor kSea(166, 198, 228);
const QColor kLand(240, 236, 224);
const QColor kBorder(150, 140, 130);
const QColor kHybridBorder(255, 240, 150);
const QColor kNoTile(200, 200, 200);
constexpr double kDragThreshold = 3;     // points before a touch pans
constexpr double kClipMargin = 4;        // points outside the view a clipped ring keeps
constexpr double kClipFromWidth = 65536; // world widths from which rings are clipped
constexpr size_t kCachedZooms = 6;
constexpr double kWorldImageLimit = 1024; // pixels
constexpr double kWheelStep = 0.5;        // zoom levels per wheel notch

// The part of `polygon` inside `box` (Sutherland–Hodgman, one edge at a time), so
// that the rasterizer never sees the far-away coordinates of a deep zoom.
QPolygonF clipped(const QPolygonF& polygon, const QRectF& box) {
    QPolygonF current = polygon;
    for (int edge = 0; edge < 4 && !current.isEmpty(); ++edge) {
        auto inside = [&](QPointF p) {
            switch (edge) {
            case 0:
                return p.x() >= box.left();
            case 1:
                return p.x() <= box.right();
            case 2:
                return p.y() >= box.top();
            default:
                return p.y() <= box.bottom();
            }
        };
        auto cross = [&](QPointF a, QPointF b) {
            const double t =
                edge < 2 ? ((edge == 0 ? box.left() : box.right()) - a.x()) / (b.x() - a.x())
                         : ((edge == 2 ? box.top() : box.bottom()) - a.y()) / (b.y() - a.y());
            return a + (b - a) * t;
        };
        QPolygonF next;
        for (qsizetype k = 0; k < current.size(); ++k) {
            const QPointF a = current[k];
            const QPointF b = current[(k + 1) % current.size()];
            if (inside(a)) {
                next.append(a);
                if (!inside(b)) {
                    next.append(cross(a, b));
                }
            } else if (inside(b)) {
                next.append(cross(a, b));
            }
        }
        current = std::move(next);
    }
    return current;
}

} // namespace

MapView::MapView(Rect frame, QWidget* parent) : TouchView(parent) {
    setFrame(this, frame);
    setFocusPolicy(Qt::StrongFocus);
    const QString source = MapTileSource::configuredTemplate();
    if (!source.isEmpty()) {
        tiles_ = new MapTileSource(source, this);
        tiles_->setArrivalAction([this] { update(); });
    }
    // The outlines ship with the program: the map has loaded once the event loop runs.
    QMetaObject::invokeMethod(
        this, [this] { finishLoading(); }, Qt::QueuedConnection);
}

MapView::~MapView() = default;

bool MapView::hasImagerySource() {
    return !MapTileSource::configuredTemplate().isEmpty();
}

void MapView::finishLoading() {
    if (delegate_ != nullptr) {
        delegate_->mapViewDidFinishLoadingMap(this);
    }
}

void MapView::setMapType(MapType type) {
    mapType_ = type;
    update();
}

Size MapView::viewSize() const {
    return {Screen::toPoints(width()), Screen::toPoints(height())};
}

double MapView::worldWidth() const {
    return kWorldWidth * std::exp2(zoom_);
}

Point MapView::origin() const {
    const Size size = viewSize();
    const double world = worldWidth();
    return {centerUnit_.x * world - size.width / 2, centerUnit_.y * world - size.height / 2};
}

void MapView::setCenterUnit(Point unit) {
    const double halfHeight = viewSize().height / 2 / worldWidth();
    double x = unit.x - std::floor(unit.x);
    const double y = 2 * halfHeight >= 1 ? 0.5 : std::clamp(unit.y, halfHeight, 1 - halfHeight);
    centerUnit_ = {x, y};
}

void MapView::setZoomLevel(double zoom) {
    requestedRegion_.reset();
    zoom_ = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
    setCenterUnit(centerUnit_);
    regionChanged();
}

Coordinate MapView::centerCoordinate() const {
    return MercatorProjection::coordinate(centerUnit_);
}

void MapView::setCenterCoordinate(Coordinate center, bool animated) {
    if (requestedRegion_) {
        requestedRegion_->center = center;
    }
    setCenterUnit(MercatorProjection::unitPoint(center));
    regionChanged();
    if (delegate_ != nullptr) {
        delegate_->mapViewRegionDidChangeAnimated(this, animated);
    }
}

CoordinateRegion MapView::region() const {
    const Size size = viewSize();
    const double world = worldWidth();
    const double top = centerUnit_.y - size.height / 2 / world;
    const double bottom = centerUnit_.y + size.height / 2 / world;
    const double north = MercatorProjection::coordinate({0, std::max(0.0, top)}).latitude;
    const double south = MercatorProjection::coordinate({0, std::min(1.0, bottom)}).latitude;
    return {centerCoordinate(), {north - south, std::min(360.0, size.width / world * 360)}};
}

void MapView::setRegion(CoordinateRegion region, bool animated) {
    requestedRegion_ = region;
    fitRegion(region, animated);
}

void MapView::fitRegion(CoordinateRegion region, bool animated) {
    const Size size = viewSize();
    const Coordinate c = region.center;
    const double across = std::max(region.span.longitudeDelta, 1e-9);
    const double down = MercatorProjection::unitY(c.latitude - region.span.latitudeDelta / 2) -
                        MercatorProjection::unitY(c.latitude + region.span.latitudeDelta / 2);
    const double world = std::min(size.width * 360 / across, size.height / std::max(down, 1e-12));
    zoom_ = std::clamp(std::log2(world / kWorldWidth), kMinimumZoom, kMaximumZoom);
    setCenterCoordinate(c, animated);
}

Point MapView::convertCoordinateToPointToView(Coordinate coordinate, const QWidget* view) const {
    const Point unit = MercatorProjection::unitPoint(coordinate);
    const Size size = viewSize();
    const double world = worldWidth();
    double dx = unit.x - centerUnit_.x;
    dx -= std::round(dx); // the copy of the world nearest the centre
    const Point here{size.width / 2 + dx * world,
                     size.height / 2 + (unit.y - centerUnit_.y) * world};
    if (view == nullptr || view == this) {
        return here;
    }
    const double s = Screen::scale();
    const QPointF there = view->mapFromGlobal(mapToGlobal(QPointF(here.x * s, here.y * s)));
    return {there.x() / s, there.y() / s};
}

Coordinate MapView::convertPointToCoordinateFromView(Point point, const QWidget* view) const {
    Point here = point;
    if (view != nullptr && view != this) {
        const double s = Screen::scale();
        const QPointF mapped = mapFromGlobal(view->mapToGlobal(QPointF(point.x * s, point.y * s)));
        here = {mapped.x() / s, mapped.y() / s};
    }
    const Size size = viewSize();
    const double world = worldWidth();
    const Point unit{centerUnit_.x + (here.x - size.width / 2) / world,
                     std::clamp(centerUnit_.y + (here.y - size.height / 2) / world, 0.0, 1.0)};
    return MercatorProjection::coordinate(unit);
}

void MapView::zoomAround(double zoom, Point anchor) {
    if (!zoomEnabled_) {
        return;
    }
    requestedRegion_.reset();
    const Size size = viewSize();
    const Point offset{anchor.x - size.width / 2, anchor.y - size.height / 2};
    const double before = worldWidth();
    const Point under{centerUnit_.x + offset.x / before, centerUnit_.y + offset.y / before};
    zoom_ = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
    const double after = worldWidth();
    setCenterUnit({under.x - offset.x / after, under.y - offset.y / after});
    regionChanged();
}

void MapView::regionChanged() {
    layoutAnnotations();
    update();
}

// --- annotations -----------------------------------------------------------------

void MapView::addAnnotation(Annotation* annotation) {
    if (annotation == nullptr || annotations_.contains(annotation)) {
        return;
    }
    annotations_.append(annotation);
    PinAnnotationView* view =
        delegate_ != nullptr ? delegate_->mapViewViewForAnnotation(this, annotation) : nullptr;
    if (view == nullptr) {
        view = dequeueReusableAnnotationViewWithIdentifier(kDefaultPinIdentifier);
        if (view == nullptr) {
            view = new PinAnnotationView(annotation, kDefaultPinIdentifier);
            view->setCanShowCallout(true);
        }
    }
    view->setAnnotation(annotation);
    view->setParent(this);
    view->show();
    views_.insert(annotation, view);
    layoutAnnotations();
}

void MapView::removeAnnotation(Annotation* annotation) {
    if (!annotations_.removeOne(annotation)) {
        return;
    }
    if (selected_ == annotation) {
        deselectAnnotation(annotation, false);
    }
    if (PinAnnotationView* view = views_.take(annotation); view != nullptr) {
        view->hide();
        view->setAnnotation(nullptr);
        reusable_.append(view);
    }
}

PinAnnotationView* MapView::viewForAnnotation(Annotation* annotation) const {
    return views_.value(annotation, nullptr);
}

PinAnnotationView* MapView::dequeueReusableAnnotationViewWithIdentifier(const QString& identifier) {
    for (qsizetype k = 0; k < reusable_.size(); ++k) {
        if (reusable_[k]->reuseIdentifier() == identifier) {
            return reusable_.takeAt(k);
        }
    }
    return nullptr;
}

void MapView::selectAnnotation(Annotation* annotation, bool /*animated*/) {
    if (!annotations_.contains(annotation)) {
        return;
    }
    selected_ = annotation;
    PinAnnotationView* view = viewForAnnotation(annotation);
    if (view == nullptr || !view->canShowCallout()) {
        delete callout_;
        return;
    }
    if (callout_ == nullptr) {
        callout_ = new MapCalloutView(this);
    }
    callout_->setTexts(annotation->title(), annotation->subtitle());
    callout_->show();
    layoutAnnotations();
}

void MapView::deselectAnnotation(Annotation* annotation, bool /*animated*/) {
    if (annotation != nullptr && annotation == selected_) {
        selected_ = nullptr;
        delete callout_;
    }
}

QList<Annotation*> MapView::selectedAnnotations() const {
    return selected_ != nullptr ? QList<Annotation*>{selected_} : QList<Annotation*>{};
}

void MapView::annotationCalloutInfoDidChange(Annotation* annotation) {
    if (annotation == selected_ && callout_ != nullptr) {
        callout_->setTexts(annotation->title(), annotation->subtitle());
        layoutAnnotations();
    }
}

MapCalloutView* MapView::calloutView() const {
    return callout_;
}

void MapView::layoutAnnotations() {
    for (Annotation* annotation : std::as_const(annotations_)) {
        PinAnnotationView* view = views_.value(annotation);
        const Point at = convertCoordinateToPointToView(annotation->coordinate(), nullptr);
        const Point offset = view->centerOffset();
        view->setCenter({at.x + offset.x, at.y + offset.y});
        if (annotation == selected_ && callout_ != nullptr) {
            const Rect pin = frame(view);
            callout_->setAnchor({pin.x + pin.width / 2, pin.y});
            callout_->raise();
        }
    }
}

// --- touches, wheel, keys ----------------------------------------------------------

void MapView::touchesBegan(const Touch& touch) {
    dragStart_ = touch.locationInView;
    dragCenter_ = centerUnit_;
    dragging_ = false;
}

void MapView::touchesMoved(const Touch& touch) {
    const Point delta{touch.locationInView.x - dragStart_.x, touch.locationInView.y - dragStart_.y};
    if (!scrollEnabled_ || (!dragging_ && std::abs(delta.x) <= kDragThreshold &&
                            std::abs(delta.y) <= kDragThreshold)) {
        return;
    }
    dragging_ = true;
    requestedRegion_.reset();
    const double world = worldWidth();
    setCenterUnit({dragCenter_.x - delta.x / world, dragCenter_.y - delta.y / world});
    regionChanged();
}

void MapView::touchesEnded(const Touch& touch) {
    if (dragging_) {
        dragging_ = false;
        if (delegate_ != nullptr) {
            delegate_->mapViewRegionDidChangeAnimated(this, false);
        }
    } else if (touch.tapCount == 2) {
        zoomAround(zoom_ + 1, touch.locationInView);
    } else if (touch.tapCount == 1) {
        deselectAnnotation(selected_, true);
    }
}

bool MapView::event(QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::TouchBegin || type == QEvent::TouchUpdate || type == QEvent::TouchEnd) {
        auto* touch = static_cast<QTouchEvent*>(event);
        if (touch->points().size() >= 2) {
            const QPointF a = touch->points()[0].position();
            const QPointF b = touch->points()[1].position();
            const double distance = std::hypot(a.x() - b.x(), a.y() - b.y());
            const double s = Screen::scale();
            if (pinchDistance_ <= 0) {
                pinchDistance_ = std::max(distance, 1.0);
                pinchZoom_ = zoom_;
            } else {
                zoomAround(pinchZoom_ + std::log2(std::max(distance, 1.0) / pinchDistance_),
                           {(a.x() + b.x()) / 2 / s, (a.y() + b.y()) / 2 / s});
            }
            if (type == QEvent::TouchEnd) {
                pinchDistance_ = 0;
            }
            event->accept();
            return true;
        }
        pinchDistance_ = 0;
    } else if (type == QEvent::NativeGesture) {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            const double s = Screen::scale();
            zoomAround(zoom_ + std::log2(std::max(0.1, 1 + gesture->value())),
                       {gesture->position().x() / s, gesture->position().y() / s});
            return true;
        }
    }
    return TouchView::event(event);
}

void MapView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    const double s = Screen::scale();
    zoomAround(zoom_ + steps * kWheelStep, {event->position().x() / s, event->position().y() / s});
    event->accept();
}

void MapView::keyPressEvent(QKeyEvent* event) {
    const Size size = viewSize();
    const Point middle{size.width / 2, size.height / 2};
    if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
        zoomAround(zoom_ + 1, middle);
    } else if (event->key() == Qt::Key_Minus) {
        zoomAround(zoom_ - 1, middle);
    } else {
        TouchView::keyPressEvent(event);
    }
}

void MapView::resizeEvent(QResizeEvent* event) {
    TouchView::resizeEvent(event);
    if (requestedRegion_) {
        fitRegion(*requestedRegion_, false);
    } else {
        setCenterUnit(centerUnit_);
        layoutAnnotations();
    }
}

// --- painting ----------------------------------------------------------------------

const std::vector<MapView::ProjectedRing>& MapView::projectedRings() {
    const double world = worldWidth();
    if (auto found = projected_.find(world); found != projected_.end()) {
        return found->second;
    }
    if (projected_.size() >= kCachedZooms) {
        projected_.clear();
    }
    std::vector<ProjectedRing> rings;
    const QTransform scale = QTransform::fromScale(world, world);
    for (const MapOutlines::Ring& ring : MapOutlines::shared().rings()) {
        rings.push_back({scale.map(ring.points), scale.mapRect(ring.bounds)});
    }
    return projected_.emplace(world, std::move(rings)).first->second;
}

QPainterPath MapView::outlinePath(Point origin, Size size) {
    const double world = worldWidth();
    const QRectF view(-kClipMargin, -kClipMargin, size.width + 2 * kClipMargin,
                      size.height + 2 * kClipMargin);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    const auto first = static_cast<long>(std::floor(origin.x / world)) - 1;
    const auto last = static_cast<long>(std::floor((origin.x + size.width) / world)) + 1;
    for (long copy = first; copy <= last; ++copy) {
        const QPointF shift(copy * world - origin.x, -origin.y);
        for (const ProjectedRing& ring : projectedRings()) {
            if (!ring.bounds.translated(shift).intersects(view)) {
                continue;
            }
            const QPolygonF moved = ring.points.translated(shift);
            path.addPolygon(world >= kClipFromWidth ? clipped(moved, view) : moved);
            path.closeSubpath();
        }
    }
    return path;
}

void MapView::drawOutlines(QPainter& painter, const QPainterPath& path, bool fill) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fill ? kBorder : kHybridBorder, 0)); // cosmetic: one pixel
    painter.setBrush(fill ? QBrush(kLand) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
}

// While the whole world is a small image, it is drawn once for the zoom and then only
// copied: filling every outline anti-aliased takes several milliseconds.
const QImage& MapView::worldImage(bool fill) {
    const double world = worldWidth();
    const double scale = Screen::scale();
    if (worldImage_.isNull() || worldImageWidth_ != world || worldImageFilled_ != fill ||
        worldImageScale_ != scale) {
        const int pixels = static_cast<int>(std::ceil(world * scale));
        worldImage_ = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        worldImage_.fill(Qt::transparent);
        QPainter painter(&worldImage_);
        painter.scale(scale, scale);
        drawOutlines(painter, outlinePath({0, 0}, {world, world}), fill);
        worldImageWidth_ = world;
        worldImageFilled_ = fill;
        worldImageScale_ = scale;
    }
    return worldImage_;
}

void MapView::paintOutlines(QPainter& painter, bool fill) {
    const Size size = viewSize();
    const Point o = origin();
    const double world = worldWidth();
    const double scale = Screen::scale();
    if (world * scale > kWorldImageLimit) {
        drawOutlines(painter, outlinePath(o, size), fill);
        return;
    }
    const QImage& image = worldImage(fill);
    painter.save();
    painter.resetTransform();
    const auto first = static_cast<long>(std::floor(o.x / world));
    const auto last = static_cast<long>(std::floor((o.x + size.width) / world));
    for (long copy = first; copy <= last; ++copy) {
        painter.drawImage(
            QPointF(std::round((copy * world - o.x) * scale), std::round(-o.y * scale)), image);
    }
    painter.restore();
}

void MapView::paintImagery(QPainter& painter) {
    const Size size = viewSize();
    const Point o = origin();
    const int zoom =
        std::clamp(static_cast<int>(std::lround(zoom_)), 0, MapTileSource::kMaximumZoom);
    const long count = 1L << zoom;
    const double side = worldWidth() / static_cast<double>(count);
    const long top = std::max(0L, static_cast<long>(std::floor(o.y / side)));
    const long bottom =
        std::min(count - 1, static_cast<long>(std::floor((o.y + size.height) / side)));
    const long left = static_cast<long>(std::floor(o.x / side));
    const long right = static_cast<long>(std::floor((o.x + size.width) / side));
    for (long y = top; y <= bottom; ++y) {
        for (long x = left; x <= right; ++x) {
            const long wrapped = ((x % count) + count) % count;
            const QRectF target(x * side - o.x, y * side - o.y, side, side);
            const QImage image = tiles_->tile(zoom, static_cast<int>(wrapped), static_cast<int>(y));
            if (image.isNull()) {
                painter.fillRect(target, kNoTile);
            } else {
                painter.drawImage(target, image);
            }
        }
    }
}

void MapView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kSea);
    painter.scale(Screen::scale(), Screen::scale());
    const bool imagery = mapType_ != MapType::Standard && tiles_ != nullptr;
    if (imagery) {
        paintImagery(painter);
    }
    if (!imagery || mapType_ == MapType::Hybrid) {
        paintOutlines(painter, !imagery);
    }
}

} // namespace ui
