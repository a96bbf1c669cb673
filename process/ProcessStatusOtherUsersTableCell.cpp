#include "process/ProcessStatusOtherUsersTableCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

const QString kProcessStatusOtherUsersTableCellIdentifier =
    QStringLiteral("ProcessStatusOtherUsersTableCellIdentifier");

namespace {

ui::Label* makeLabel(QWidget* parent, const QFont& font) {
    auto* label = new ui::Label(parent);
    label->setFont(font);
    label->setBackgroundColor(ui::Color::clear());
    label->setRowField(true);
    return label;
}

} // namespace

ProcessStatusOtherUsersTableCell::ProcessStatusOtherUsersTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      name_(makeLabel(contentView(), ui::boldSystemFontOfSize(16))),
      uptime_(makeLabel(contentView(), ui::systemFontOfSize(12))),
      pid_(makeLabel(contentView(), ui::systemFontOfSize(12))),
      ppid_(makeLabel(contentView(), ui::systemFontOfSize(12))),
      user_(makeLabel(contentView(), ui::boldSystemFontOfSize(12))) {
    // Linux pids run to seven digits, the device's to five: the two id labels shrink
    // their text to fit rather than cut it.
    for (ui::Label* id : {pid_, ppid_}) {
        id->setAdjustsFontSizeToFitWidth(true);
        id->setMinimumFontSize(8);
    }
    setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void ProcessStatusOtherUsersTableCell::setLabel(const Data& data) {
    if (shown_ && data == data_) {
        return;
    }
    data_ = data;
    shown_ = true;
    name_->setText(data.name);
    uptime_->setText(data.uptime);
    pid_->setText(data.pid);
    ppid_->setText(data.ppid);
    user_->setText(data.user);
    name_->setTextColor(data.nameColor);
    user_->setTextColor(data.userColor);
}

void ProcessStatusOtherUsersTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const double x = contentBounds().x;
    ui::setFrame(name_, {x + 10, 2, 140, 24});
    ui::setFrame(user_, {x + 160, 2, 140, 24});
    ui::setFrame(uptime_, {x + 10, 26, 140, 20});
    ui::setFrame(pid_, {x + 160, 26, 60, 20});
    ui::setFrame(ppid_, {x + 225, 26, 70, 20});
}
