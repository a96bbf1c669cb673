#pragma once

#include "platform/ui/ScrollMomentum.h"

#include <chrono>
#include <functional>

namespace ui {

class ScrollIndicator;
class TableView;

// A table's motion of its own: a drag resisted past an end, the coast after a flick
// and the spring back, frame by frame on DelayedPerform's timer and a clock tests can
// set. The indicator shows while the content moves and fades once it rests.
class TableViewScroller {
public:
    TableViewScroller(TableView& table, ScrollIndicator& indicator);
    ~TableViewScroller();
    TableViewScroller(const TableViewScroller&) = delete;
    TableViewScroller& operator=(const TableViewScroller&) = delete;

    void setClock(std::function<ScrollMomentum::TimePoint()> clock);
    bool isMoving() const { return momentum_.isMoving(); }

    void beginDrag();
    // The offset the finger asks for; past an end the content follows half as far.
    void dragTo(double offset);
    void endDrag();
    // The wheel: within the ends, resting where it turns the content to.
    void wheelTo(double offset);
    // A touch on moving content: true when there was motion to stop.
    bool stop();
    // The content set to an offset: any motion ends there.
    void halt() { momentum_.stop(); }

private:
    void scheduleFrame();
    void frame();

    TableView& table_;
    ScrollIndicator& indicator_;
    ScrollMomentum momentum_;
    std::function<ScrollMomentum::TimePoint()> clock_ = std::chrono::steady_clock::now;
};

} // namespace ui
