#include "platform/ui/ViewAnimation.h"

#include "platform/ui/DelayedPerform.h"

#include <QEasingCurve>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace ui {

namespace {

constexpr double kFrameSeconds = 0.016;

struct Run {
    QPointer<QWidget> view;
    Rect from;
    Rect to;
    ViewAnimation::TimePoint start;
    double seconds = 0;
    std::function<void()> completion;
};

struct Animations {
    std::map<const QWidget*, std::shared_ptr<Run>> running;
    std::function<ViewAnimation::TimePoint()> clock;
    bool enabled = true;

    ViewAnimation::TimePoint now() const {
        return clock ? clock() : std::chrono::steady_clock::now();
    }
    static Animations& instance() {
        static Animations animations;
        return animations;
    }
};

double interpolate(double from, double to, double fraction) {
    return from + (to - from) * fraction;
}

Rect interpolate(const Rect& from, const Rect& to, double fraction) {
    return {interpolate(from.x, to.x, fraction), interpolate(from.y, to.y, fraction),
            interpolate(from.width, to.width, fraction),
            interpolate(from.height, to.height, fraction)};
}

void end(const QWidget* key, const std::shared_ptr<Run>& run) {
    Animations& animations = Animations::instance();
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(run.get());
    const auto found = animations.running.find(key);
    if (found != animations.running.end() && found->second == run) {
        animations.running.erase(found);
    }
}

void frame(const QWidget* key, const std::shared_ptr<Run>& run) {
    if (!run->view) {
        end(key, run);
        return;
    }
    const std::chrono::duration<double> elapsed = Animations::instance().now() - run->start;
    const double progress =
        run->seconds > 0 ? std::clamp(elapsed.count() / run->seconds, 0.0, 1.0) : 1.0;
    setFrame(run->view, interpolate(run->from, run->to, ViewAnimation::easeInOut(progress)));
    if (progress < 1.0) {
        DelayedPerform::performAfterDelay(run.get(), kFrameSeconds,
                                          [key, run] { frame(key, run); });
        return;
    }
    end(key, run);
    if (run->completion) {
        run->completion();
    }
}

} // namespace

void ViewAnimation::animateFrame(QWidget* view, Rect to, double seconds,
                                 std::function<void()> completion) {
    Animations& animations = Animations::instance();
    if (const auto before = animations.running.find(view); before != animations.running.end()) {
        end(view, std::shared_ptr<Run>(before->second));
    }
    if (!animations.enabled || seconds <= 0) {
        setFrame(view, to);
        if (completion) {
            completion();
        }
        return;
    }
    auto run = std::make_shared<Run>(
        Run{view, ui::frame(view), to, animations.now(), seconds, std::move(completion)});
    animations.running[view] = run;
    DelayedPerform::performAfterDelay(run.get(), kFrameSeconds, [view, run] { frame(view, run); });
}

bool ViewAnimation::isAnimating(const QWidget* view) {
    return Animations::instance().running.contains(view);
}

void ViewAnimation::setAnimationsEnabled(bool enabled) {
    Animations::instance().enabled = enabled;
}

bool ViewAnimation::areAnimationsEnabled() {
    return Animations::instance().enabled;
}

void ViewAnimation::setClock(std::function<TimePoint()> clock) {
    Animations::instance().clock = std::move(clock);
}

double ViewAnimation::easeInOut(double progress) {
    static const QEasingCurve curve = [] {
        QEasingCurve bezier(QEasingCurve::BezierSpline);
        bezier.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return bezier;
    }();
    return curve.valueForProgress(std::clamp(progress, 0.0, 1.0));
}

} // namespace ui
