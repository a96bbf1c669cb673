#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/TouchView.h"

class QPainterPath;

// A rounded, translucent panel with a gloss across its top that grows out of the
// centre of the view it is shown in and shrinks back into it, and closes on a single
// tap (or Escape, Return or Space from the keyboard).
class PopupView : public ui::TouchView {
public:
    static constexpr double kAnimationSeconds = 0.5;

    explicit PopupView(ui::Rect frame);

    ui::Color fillColor() const { return fillColor_; }
    void setFillColor(ui::Color color);
    ui::Color borderColor() const { return borderColor_; }
    void setBorderColor(ui::Color color);
    // Kept for callers that set it; the border is drawn 2 points wide whatever it holds.
    double strokeWidth() const { return strokeWidth_; }
    void setStrokeWidth(double width) { strokeWidth_ = width; }
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    bool tapCloseEnabled() const { return tapCloseEnabled_; }
    void setTapCloseEnabled(bool enabled) { tapCloseEnabled_ = enabled; }
    bool showing() const { return showing_; }
    // The opacity of the panel's drawing.
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);

    // Adds the panel to `view` and grows it from the view's centre to its frame;
    // nothing when it shows already.
    void showInView(QWidget* view);
    // Shrinks the panel into its parent's centre and takes it off; nothing when it is
    // not showing.
    virtual void dismiss();

    // A single tap closes the panel when tapCloseEnabled.
    void touchesEnded(const ui::Touch& touch) override;

    // Adds a closed rounded rectangle to `context`.
    static void drawRoundedRect(const QRectF& rect, QPainterPath& context, double radius);

protected:
    // After the panel has grown to its frame, and after it has been taken off.
    virtual void viewDidAppear() {}
    virtual void viewDidDismiss() {}

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The zero-size frame at the centre of the parent, where the panel grows from.
    ui::Rect centreOfParent() const;
    void removeFromParent();

    ui::Color fillColor_ = ui::Color::black();
    ui::Color borderColor_;
    double strokeWidth_ = 2.0;
    double cornerRadius_ = 8.0;
    bool tapCloseEnabled_ = true;
    bool showing_ = false;
    double alpha_ = 0.8;
};
