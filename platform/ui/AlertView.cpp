#include "platform/ui/AlertView.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/Overlay.h"
#include "platform/ui/SheetButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ui {

namespace {
QList<AlertView*>& shownAlerts() {
    static QList<AlertView*> alerts;
    return alerts;
}
} // namespace

AlertView::AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
                     const QString& cancelButtonTitle, const QStringList& otherButtonTitles)
    : title_(title), message_(message), delegate_(delegate) {
    if (!cancelButtonTitle.isEmpty()) {
        cancelIndex_ = 0;
        titles_.append(cancelButtonTitle);
    }
    for (const QString& other : otherButtonTitles) {
        titles_.append(other);
    }
}

AlertView::~AlertView() {
    shownAlerts().removeAll(this);
    delete overlay_.data();
}

int AlertView::addButtonWithTitle(const QString& title) {
    titles_.append(title);
    return numberOfButtons() - 1;
}

int AlertView::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelIndex_) {
            return i;
        }
    }
    return -1;
}

QWidget* AlertView::overlay() const {
    return overlay_;
}

QList<AlertView*> AlertView::visibleAlerts() {
    return shownAlerts();
}

QList<int> AlertView::buttonOrder() const {
    QList<int> order;
    const bool sideBySide = numberOfButtons() == 2;
    if (sideBySide && cancelIndex_ >= 0) {
        order.append(cancelIndex_);
    }
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelIndex_) {
            order.append(i);
        }
    }
    if (!sideBySide && cancelIndex_ >= 0) {
        order.append(cancelIndex_);
    }
    return order;
}

void AlertView::buildOverlay() {
    auto* overlay = new Overlay(Overlay::Look::Alert);
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    const int margin = Screen::px(12);
    column->setContentsMargins(margin, Screen::px(16), margin, margin);
    column->setSpacing(Screen::px(8));
    auto addText = [&](const QString& text, const QFont& font) {
        if (text.isEmpty()) {
            return;
        }
        auto* label = new Label(text, panel);
        label->setFont(font);
        label->setTextColor(Color::white());
        label->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setNumberOfLines(0);
        column->addWidget(label);
    };
    addText(title_, boldSystemFontOfSize(18));
    addText(message_, systemFontOfSize(16));
    column->addSpacing(Screen::px(4));
    const QList<int> order = buttonOrder();
    QBoxLayout* buttons =
        order.size() == 2 ? static_cast<QBoxLayout*>(new QHBoxLayout) : new QVBoxLayout;
    buttons->setSpacing(Screen::px(8));
    for (int index : order) {
        const auto role =
            index == cancelIndex_ ? SheetButton::Role::AlertCancel : SheetButton::Role::AlertOther;
        auto* button = new SheetButton(titles_[index], role, panel);
        QObject::connect(button, &QAbstractButton::clicked, this,
                         [this, index] { dismissWithClickedButtonIndexAnimated(index, true); });
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    overlay->setPanel(panel);
    overlay_ = overlay;
}

void AlertView::show() {
    if (visible_ || dismissed_) {
        return;
    }
    buildOverlay();
    overlay_->present();
    visible_ = true;
    shownAlerts().append(this);
}

void AlertView::dismissWithClickedButtonIndexAnimated(int buttonIndex, bool /*animated*/) {
    if (dismissed_) {
        return;
    }
    dismissed_ = true;
    if (delegate_ != nullptr) {
        delegate_->alertViewClickedButtonAtIndex(this, buttonIndex);
        delegate_->alertViewWillDismissWithButtonIndex(this, buttonIndex);
    }
    visible_ = false;
    shownAlerts().removeAll(this);
    if (overlay_) {
        overlay_->hide();
        overlay_->deleteLater();
    }
    if (delegate_ != nullptr) {
        delegate_->alertViewDidDismissWithButtonIndex(this, buttonIndex);
    }
    deleteLater();
}

} // namespace ui
