#include "network/NetworkRoutingTableCell.h"

#include "common/Resources.h"
#include "network/NetworkRoutingTableCellDelegate.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "registry/TarnelDB.h"

#include <QMouseEvent>

#include <algorithm>

const QString kNetworkRoutingTableCellIdentifier =
    QStringLiteral("NetworkRoutingTableCellIdentifier");

namespace {

// The flags are 4:3 (32 × 24 points); the code's label is tall enough for its 10-point
// text.
constexpr ui::Rect kFlagFrame{4, 2, 32, 24};
constexpr ui::Rect kCodeFrame{4, 27, 32, 12};

double seconds(const QMouseEvent* event) {
    return static_cast<double>(event->timestamp()) / 1000.0;
}

} // namespace

NetworkRoutingTableCell::NetworkRoutingTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier),
      tarnel_(TarnelDB::sharedInstance()), icon_(new ui::ImageView(contentView())),
      name_(new NetworkStatusLabel(contentView())), dest_(new NetworkStatusLabel(contentView())),
      gateway_(new NetworkStatusLabel(contentView())) {
    setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    // The flag takes its own presses: the cell decides whether they are a flag tap or
    // go on to the table as a tap on the row.
    icon_->installEventFilter(this);
    name_->setFont(ui::systemFontOfSize(10));
    name_->setTextColor(ui::Color::darkGray());
    name_->setTextAlignment(Qt::AlignHCenter);
    dest_->setFont(ui::boldSystemFontOfSize(14));
    for (NetworkStatusLabel* label : {dest_, gateway_}) {
        label->setAdjustsFontSizeToFitWidth(true);
        label->setMinimumFontSize(10);
    }
}

void NetworkRoutingTableCell::setLabel(const RoutingInfo& info) {
    if (info_ == info) {
        return;
    }
    info_ = info;
    dest_->setText(info.destination);
    gateway_->setText(info.gateway);
    showFlag();
}

void NetworkRoutingTableCell::showFlag() {
    const QStringList found = info_ ? tarnel_->search(info_->destination) : QStringList();
    if (!found.isEmpty()) {
        iconName_ = TarnelDB::flagImageName(found.first());
        name_->setText(found.first());
    } else {
        iconName_ = QString::fromLatin1(kNoFlagImage);
        name_->setText(QString());
    }
    ui::Image image = Resources::image(iconName_);
    // A code without a flag of its own shows the placeholder.
    icon_->setImage(image.isNull() ? Resources::image(QString::fromLatin1(kNoFlagImage)) : image);
}

void NetworkRoutingTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    showFlag();
    const ui::Rect content = contentBounds();
    const double x = content.x;
    ui::setFrame(icon_, {x + kFlagFrame.x, kFlagFrame.y, kFlagFrame.width, kFlagFrame.height});
    ui::setFrame(name_, {x + kCodeFrame.x, kCodeFrame.y, kCodeFrame.width, kCodeFrame.height});
    ui::setFrame(dest_, {x + 38, 0, 120, kRowHeight});
    // The gateway ends where the disclosure indicator begins.
    const double gatewayWidth = std::min(160.0, content.x + content.width - (x + 158));
    ui::setFrame(gateway_, {x + 158, 0, std::max(0.0, gatewayWidth), kRowHeight});
}

bool NetworkRoutingTableCell::flagTapped(int tapCount) {
    if (name_->text().isEmpty() || tapCount == 0) {
        return false;
    }
    if (delegate_ != nullptr && info_) {
        delegate_->networkRoutingTableCellDestination(this, info_->destination);
    }
    return true;
}

bool NetworkRoutingTableCell::eventFilter(QObject* watched, QEvent* event) {
    if (watched != icon_) {
        return ui::TableViewCell::eventFilter(watched, event);
    }
    // A press on the flag of a known destination is the flag's; any other press goes
    // on to the table (QEvent::ignore lets it through to the row).
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        flagPressed_ = mouse->button() == Qt::LeftButton && !name_->text().isEmpty();
        return flagPressed_;
    }
    case QEvent::MouseMove:
        return flagPressed_;
    case QEvent::MouseButtonRelease: {
        if (!flagPressed_) {
            return false;
        }
        flagPressed_ = false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mouse->position();
        const int tapCount = icon_->rect().contains(at.toPoint())
                                 ? taps_.registerTap(seconds(mouse), {at.x() / ui::Screen::scale(),
                                                                      at.y() / ui::Screen::scale()})
                                 : 0;
        flagTapped(tapCount);
        return true;
    }
    default:
        return false;
    }
}
