#pragma once

#include <QWidget>

namespace ui {

// The thin bar at the right edge of a scrolling view that shows, while the content
// moves, which part of it is on screen and how much there is. It appears when the
// content starts moving and fades away a moment after it comes to rest. It takes no
// touches: they fall through to the view.
class ScrollIndicator : public QWidget {
    Q_OBJECT

public:
    static constexpr double kThickness = 3;       // points
    static constexpr double kInset = 2;           // points from the right and the ends
    static constexpr double kMinimumLength = 9;   // points, squeezed past an end
    static constexpr double kShortestLength = 36; // points, in range
    // Seconds it stays at rest before it fades, and the fade's length.
    static constexpr double kLinger = 0.5;
    static constexpr double kFadeDuration = 0.2;

    explicit ScrollIndicator(QWidget* viewport);
    ~ScrollIndicator() override;

    // Places the bar for content `contentHeight` high scrolled to `offset` (points,
    // beyond the ends while the content is pulled past them) in the viewport.
    void place(double offset, double contentHeight);
    // The content moves: the bar shows, fully opaque, when there is more content than
    // the viewport holds.
    void showForScrolling();
    // The content rests: the bar lingers, then fades and hides.
    void fadeAfterRest();
    double opacity() const { return opacity_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fadeStep();

    bool scrollable_ = false;
    double opacity_ = 1;
    int fadeStepsLeft_ = 0;
};

} // namespace ui
