#include "process/ProcessStatusMobileUserTableCell.h"

#include "common/Resources.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

const QString kProcessStatusMobileUserTableCellIdentifier =
    QStringLiteral("ProcessStatusMobileUserTableCellIdentifier");

namespace {

ui::Label* makeLabel(QWidget* parent, const QFont& font, Qt::Alignment alignment) {
    auto* label = new ui::Label(parent);
    label->setFont(font);
    label->setTextAlignment(alignment | Qt::AlignVCenter);
    label->setBackgroundColor(ui::Color::clear());
    label->setRowField(true);
    return label;
}

} // namespace

ProcessStatusMobileUserTableCell::ProcessStatusMobileUserTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      name_(makeLabel(contentView(), ui::boldSystemFontOfSize(16), Qt::AlignLeft)),
      uptime_(makeLabel(contentView(), ui::systemFontOfSize(12), Qt::AlignLeft)),
      memory_(makeLabel(contentView(), ui::boldSystemFontOfSize(14), Qt::AlignRight)),
      iconBox_(new ui::ImageView(contentView())) {
    setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void ProcessStatusMobileUserTableCell::setLabel(const Data& data) {
    if (shown_ && data == data_) {
        return;
    }
    data_ = data;
    shown_ = true;
    name_->setText(data.name);
    uptime_->setText(data.uptime);
    name_->setTextColor(data.nameColor);
    memory_->setText(data.memory);
    icon_ = Resources::image(data.iconName);
    iconBox_->setImage(icon_);
    layoutSubviews();
}

void ProcessStatusMobileUserTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const double x = contentBounds().x;
    ui::setFrame(name_, {x + 10, 2, 150, 24});
    ui::setFrame(uptime_, {x + 10, 26, 200, 20});
    memory_->setVisible(data_.ownUser);
    if (data_.ownUser) {
        ui::setFrame(memory_, {x + 160, 2, 60, 24});
    }
    const ui::Size size = icon_.size();
    ui::setFrame(iconBox_, {x + (data_.ownUser ? 230.0 : 80.0), 2, size.width, size.height});
}
