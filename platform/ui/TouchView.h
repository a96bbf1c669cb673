#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/TapCounter.h"

#include <QWidget>

class QInputEvent;

namespace ui {

// One finger on the screen: how many quick taps it is into a series, and where it
// is, in the view's points.
struct Touch {
    int tapCount = 1;
    Point locationInView;
};

// A view that hears touches as the device reports them: began, moved, ended or
// cancelled, with tap counts. Mouse presses and touch screens both feed it.
class TouchView : public QWidget {
public:
    explicit TouchView(QWidget* parent = nullptr);

    virtual void touchesBegan(const Touch& /*touch*/) {}
    virtual void touchesMoved(const Touch& /*touch*/) {}
    virtual void touchesEnded(const Touch& /*touch*/) {}
    virtual void touchesCancelled(const Touch& /*touch*/) {}

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void begin(double seconds, QPointF position);
    void move(QPointF position);
    void end(QPointF position);
    void cancel();
    static double secondsOf(const QInputEvent* event);

    TapCounter counter_;
    Touch current_;
    bool tracking_ = false;
};

} // namespace ui
