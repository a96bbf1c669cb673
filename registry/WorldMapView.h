#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/TouchView.h"

#include <QString>

class WorldMapViewDelegate;

// A world map of the regional registries that reports single, double and triple taps
// to its delegate. A tap is reported 0.25 s after it ends unless the next tap of the
// series comes first, so a quick triple tap is one report of 3. Without the image in
// the resources the view is empty, of no size.
class WorldMapView : public ui::TouchView {
public:
    static constexpr double kTapDelay = 0.25;

    // `name` is the image resource without its ".png".
    explicit WorldMapView(const QString& name, QWidget* parent = nullptr);
    ~WorldMapView() override;

    void setDelegate(WorldMapViewDelegate* delegate) { delegate_ = delegate; }
    WorldMapViewDelegate* delegate() const { return delegate_; }
    const ui::Image& image() const { return image_; }

    void touchesEnded(const ui::Touch& touch) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void report(int tapCount);

    // One target for the pending report of each count, so that a tap calls off only
    // the report of the tap before it.
    const void* reportTarget(int tapCount) const { return &reportTargets_[tapCount - 1]; }

    WorldMapViewDelegate* delegate_ = nullptr; // not owned
    char reportTargets_[3] = {};
    ui::Image image_;
};
