#include "registry/TarnelPopupView.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/ViewAnimation.h"
#include "registry/TarnelView.h"

#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {

// The room the designed panel leaves around it on the 320 × 480 point screen.
constexpr double kMinimumMarginX = 5;
constexpr double kMinimumMarginY = 10;

} // namespace

TarnelPopupView::TarnelPopupView(const QString& address) : tarnelView_(new TarnelView(address)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    ui::setFrame(this, ui::Screen::bounds());
    tarnelView_->setDelegate(this);
}

TarnelPopupView::~TarnelPopupView() {
    // The panel is off this layer once it has closed.
    delete tarnelView_;
}

void TarnelPopupView::popUp(const QString& address, QWidget* window) {
    if (window == nullptr) {
        return;
    }
    (new TarnelPopupView(address))->showInView(window);
}

TarnelPopupView* TarnelPopupView::shownIn(const QWidget* window) {
    for (QObject* child : window->children()) {
        if (auto* popup = dynamic_cast<TarnelPopupView*>(child);
            popup != nullptr && popup->showing_) {
            return popup;
        }
    }
    return nullptr;
}

ui::Rect TarnelPopupView::panelFrame(ui::Rect bounds) {
    const ui::Rect designed = TarnelView::kDesignedFrame;
    const ui::Rect screen{0, 0, 320, 480};
    const double width = std::min(designed.width, bounds.width - 2 * kMinimumMarginX);
    const double height = std::min(designed.height, bounds.height - 2 * kMinimumMarginY);
    const double downFraction = designed.y / (screen.height - designed.height);
    return {(bounds.width - width) / 2, (bounds.height - height) * downFraction, width, height};
}

void TarnelPopupView::showInView(QWidget* view) {
    if (showing_ || view == nullptr) {
        return;
    }
    showing_ = true;
    setParent(view);
    view->installEventFilter(this);
    fitParent();
    show();
    raise();
    tarnelView_->showInView(this);
}

void TarnelPopupView::fitParent() {
    const QWidget* parent = parentWidget();
    if (parent == nullptr) {
        return;
    }
    setGeometry(parent->rect());
    if (tarnelView_ && !ui::ViewAnimation::isAnimating(tarnelView_)) {
        ui::setFrame(tarnelView_, panelFrame(ui::Screen::toPoints(rect())));
    }
}

void TarnelPopupView::dismiss() {
    if (!showing_) {
        return;
    }
    showing_ = false;
    if (tarnelView_) {
        tarnelView_->dismiss();
    }
    if (QWidget* parent = parentWidget()) {
        parent->removeEventFilter(this);
    }
    hide();
    deleteLater();
}

void TarnelPopupView::tarnelViewDidDismiss(TarnelView* /*view*/) {
    dismiss();
}

void TarnelPopupView::setCornerRadius(double radius) {
    tarnelView_->setCornerRadius(radius);
}

void TarnelPopupView::setStrokeWidth(double width) {
    tarnelView_->setStrokeWidth(width);
}

void TarnelPopupView::setBorderColor(ui::Color color) {
    tarnelView_->setBorderColor(color);
}

void TarnelPopupView::setFillColor(ui::Color color) {
    tarnelView_->setFillColor(color);
}

bool TarnelPopupView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        fitParent();
    }
    return QWidget::eventFilter(watched, event);
}

// Touches outside the panel reach nothing below while it shows.
void TarnelPopupView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
