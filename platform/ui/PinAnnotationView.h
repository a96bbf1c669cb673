#pragma once

#include "platform/ui/TouchView.h"

#include <QPointer>
#include <QString>

namespace ui {

class Annotation;
class MapView;

// The map's pin: a round head on a needle whose tip marks the annotation's
// coordinate. A tap selects the annotation, which opens its callout when the view
// has one. A disabled pin lets every touch through to the map.
class PinAnnotationView : public TouchView {
public:
    static constexpr double kWidth = 24;
    static constexpr double kHeight = 40;

    PinAnnotationView(Annotation* annotation, const QString& reuseIdentifier,
                      QWidget* parent = nullptr);

    Annotation* annotation() const { return annotation_; }
    void setAnnotation(Annotation* annotation) { annotation_ = annotation; }
    QString reuseIdentifier() const { return reuseIdentifier_; }
    bool canShowCallout() const { return canShowCallout_; }
    void setCanShowCallout(bool shows) { canShowCallout_ = shows; }
    bool animatesDrop() const { return animatesDrop_; }
    void setAnimatesDrop(bool animates) { animatesDrop_ = animates; }
    bool isMultipleTouchEnabled() const { return multipleTouch_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouch_ = enabled; }
    // From the coordinate's point to the view's centre, in points.
    Point centerOffset() const { return {0, -kHeight / 2}; }
    // The view's centre in its superview's points.
    Point center() const;
    void setCenter(Point center);
    // The map that shows the view, once it is on one.
    MapView* mapView() const;

    void touchesEnded(const Touch& touch) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Annotation* annotation_;
    QString reuseIdentifier_;
    bool canShowCallout_ = false;
    bool animatesDrop_ = false;
    bool multipleTouch_ = false;
};

} // namespace ui
