#include "process/ProcessStatusMobileUserTableCell.h"

#include "common/Resources.h"
#include "platform/darwin/Darwin.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "process/ProcessGroups.h"

const QString kProcessStatusMobileUserTableCellIdentifier =
    QStringLiteral("ProcessStatusMobileUserTableCellIdentifier");

namespace {

const QString kNoIcon = QStringLiteral("none48.png");
const QString kOwnIcon = QStringLiteral("Ormel.png");

ui::Label* makeLabel(QWidget* parent, const QFont& font, Qt::Alignment alignment) {
    auto* label = new ui::Label(parent);
    label->setFont(font);
    label->setTextAlignment(alignment | Qt::AlignVCenter);
    label->setBackgroundColor(ui::Color::clear());
    return label;
}

} // namespace

ProcessStatusMobileUserTableCell::ProcessStatusMobileUserTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier), myuid_(darwin::getuid()), mypid_(darwin::getpid()),
      name_(makeLabel(contentView(), ui::boldSystemFontOfSize(16), Qt::AlignLeft)),
      uptime_(makeLabel(contentView(), ui::systemFontOfSize(12), Qt::AlignLeft)),
      memory_(makeLabel(contentView(), ui::boldSystemFontOfSize(14), Qt::AlignRight)),
      iconBox_(new ui::ImageView(contentView())) {
    setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void ProcessStatusMobileUserTableCell::setLabel(const ProcessStatus::Record& record) {
    if (record == info_ || record == nullptr) {
        return;
    }
    info_ = record;
    myProc_ = false;
    const ProcessInfo& info = *record;
    name_->setText(info.name());
    uptime_->setText(ProcessStatus::stringWithUptime(info.starttime()));
    name_->setTextColor(nameColorFor(info));
    iconName_ = kNoIcon;
    memory_->setText({});
    if (info.uid() == myuid_) {
        myProc_ = true;
        iconName_ = ownIconNameFor(info);
        if (!info.isZombie()) {
            memory_->setText(ProcessStatus::stringWithOccupiedMemoryForPID(info.pid()));
        }
    }
    icon_ = Resources::image(iconName_);
    iconBox_->setImage(icon_);
    layoutSubviews();
}

ui::Color ProcessStatusMobileUserTableCell::nameColorFor(const ProcessInfo& info) const {
    if (info.isZombie()) {
        return kZombieColor;
    }
    if (info.pid() == mypid_) {
        return kOwnProcessColor;
    }
    if (info.uid() == myuid_) {
        return kOwnUserColor;
    }
    return ui::Color::black();
}

QString ProcessStatusMobileUserTableCell::ownIconNameFor(const ProcessInfo& info) const {
    const QString application =
        ProcessGroups::iconNameOf(ProcessGroups::mainApplicationOf(info.name()));
    if (!application.isEmpty()) {
        return application;
    }
    return info.pid() == mypid_ ? kOwnIcon : kNoIcon;
}

void ProcessStatusMobileUserTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const double x = contentBounds().x;
    ui::setFrame(name_, {x + 10, 2, 150, 24});
    ui::setFrame(uptime_, {x + 10, 26, 200, 20});
    memory_->setVisible(myProc_);
    if (myProc_) {
        ui::setFrame(memory_, {x + 160, 2, 60, 24});
    }
    const ui::Size size = icon_.size();
    ui::setFrame(iconBox_, {x + (myProc_ ? 230.0 : 80.0), 2, size.width, size.height});
}
