#include "platform/ui/TableViewScroller.h"

#include "platform/ui/DelayedPerform.h"
#include "platform/ui/ScrollIndicator.h"
#include "platform/ui/TableView.h"

#include <algorithm>

namespace ui {

namespace {
constexpr double kScrollFrameSeconds = 0.016;
} // namespace

TableViewScroller::TableViewScroller(TableView& table, ScrollIndicator& indicator)
    : table_(table), indicator_(indicator) {}

TableViewScroller::~TableViewScroller() {
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(&momentum_);
}

void TableViewScroller::setClock(std::function<ScrollMomentum::TimePoint()> clock) {
    clock_ = std::move(clock);
}

void TableViewScroller::beginDrag() {
    momentum_.beginDrag(table_.contentOffset().y, clock_());
    indicator_.showForScrolling();
}

void TableViewScroller::dragTo(double offset) {
    const double shown = ScrollMomentum::resisted(offset, 0, table_.maximumOffset());
    table_.showOffset(shown);
    momentum_.dragTo(shown, clock_());
}

void TableViewScroller::endDrag() {
    momentum_.release(table_.contentOffset().y, clock_(), 0, table_.maximumOffset());
    frame();
}

void TableViewScroller::wheelTo(double offset) {
    momentum_.stop();
    table_.showOffset(std::clamp(offset, 0.0, table_.maximumOffset()));
    indicator_.showForScrolling();
    indicator_.fadeAfterRest();
}

bool TableViewScroller::stop() {
    if (!momentum_.isMoving()) {
        return false;
    }
    momentum_.stop();
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(&momentum_);
    return true;
}

void TableViewScroller::scheduleFrame() {
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(&momentum_);
    DelayedPerform::performAfterDelay(&momentum_, kScrollFrameSeconds, [this] { frame(); });
}

void TableViewScroller::frame() {
    if (momentum_.isMoving()) {
        table_.showOffset(momentum_.offsetAt(clock_()));
    }
    if (momentum_.isMoving()) {
        scheduleFrame();
    } else {
        // The ends the motion aimed at may have moved meanwhile (rows reloaded, the
        // table resized): rest within the present ones.
        table_.showOffset(std::clamp(table_.contentOffset().y, 0.0, table_.maximumOffset()));
        indicator_.fadeAfterRest();
    }
}

} // namespace ui
