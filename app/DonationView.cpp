#include "app/DonationView.h"

#include "common/Resources.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Geometry.h"

DonationView::DonationView(const QUrl& page, QWidget* parent)
    : QWidget(parent), page_(page), button_(new ui::Button(ui::ButtonType::RoundedRect, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    ui::setFrame(this, {10, 0, kWidth, kHeight});
    button_->setTitle(Resources::text("Donate"));
    ui::setFrame(button_, {0, (kHeight - kButtonHeight) / 2, kWidth, kButtonHeight});
    button_->addTargetActionForTouchUpInside([this] { services::URLOpener::open(page_); });
}
