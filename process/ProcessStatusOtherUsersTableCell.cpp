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

void ProcessStatusOtherUsersTableCell::setLabel(const ProcessStatus::Record& record) {
    if (record == info_ || record == nullptr) {
        return;
    }
    info_ = record;
    const ProcessInfo& info = *record;
    name_->setText(info.name());
    uptime_->setText(ProcessStatus::stringWithUptime(info.starttime()));
    pid_->setText(QString::asprintf("PID: %d", info.pid()));
    ppid_->setText(QString::asprintf("PPID: %d", info.ppid()));
    user_->setText(info.user());
    name_->setTextColor(info.isZombie() ? kZombieColor : ui::Color::black());
    const bool superuser = info.uid() == 0 || info.user() == QLatin1String("root");
    user_->setTextColor(superuser ? kSuperuserColor : ui::Color::black());
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
