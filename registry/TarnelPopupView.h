#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "registry/TarnelView.h"
#include "registry/TarnelViewDelegate.h"

#include <QPointer>
#include <QString>
#include <QWidget>

// A transparent layer over a whole window that carries one lookup panel: it keeps
// what lies below from being touched while the panel shows, places the panel for the
// window's size, and takes itself off (and is deleted) once the panel has closed.
class TarnelPopupView : public QWidget, public TarnelViewDelegate {
public:
    explicit TarnelPopupView(const QString& address);
    ~TarnelPopupView() override;

    // Opens the lookup panel of `address` over `window`; the popup looks after itself.
    static void popUp(const QString& address, QWidget* window);

    // The popup showing over `window`, or nullptr.
    static TarnelPopupView* shownIn(const QWidget* window);

    TarnelView* tarnelView() const { return tarnelView_; }
    bool showing() const { return showing_; }

    // Covers `view` (the caller's window) and opens the panel; nothing when showing.
    void showInView(QWidget* view);
    void dismiss();
    void tarnelViewDidDismiss(TarnelView* view) override;

    void setCornerRadius(double radius);
    void setStrokeWidth(double width);
    void setBorderColor(ui::Color color);
    void setFillColor(ui::Color color);

    // The panel's frame in a layer of `bounds` (points): its designed frame on the
    // 320 × 480 point screen, as wide and tall as it can be up to that elsewhere,
    // centred across and as far down the free room as it is there.
    static ui::Rect panelFrame(ui::Rect bounds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fitParent();

    QPointer<TarnelView> tarnelView_;
    bool showing_ = false;
};
