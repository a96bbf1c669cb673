#include "process/ProcessDetailTableCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

const QString kProcessDetailTableCellIdentifier =
    QStringLiteral("ProcessDetailTableCellIdentifier");

namespace {

ui::Label* makeLabel(QWidget* parent, const QFont& font, ui::Color color) {
    auto* label = new ui::Label(parent);
    label->setFont(font);
    label->setTextColor(color);
    label->setHighlightedTextColor(ui::Color::white());
    label->setBackgroundColor(ui::Color::clear());
    label->setRowField(true);
    return label;
}

} // namespace

ProcessDetailTableCell::ProcessDetailTableCell(const QString& reuseIdentifier)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier),
      title_(makeLabel(contentView(), ui::systemFontOfSize(13.5), kTitleColor)),
      value_(makeLabel(contentView(), ui::boldSystemFontOfSize(14), ui::Color::black())) {
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void ProcessDetailTableCell::setLabel(const Data& data) {
    if (shown_ && data == data_) {
        return;
    }
    data_ = data;
    shown_ = true;
    title_->setText(data.title);
    value_->setText(data.value);
    value_->setTextColor(data.color.value_or(ui::Color::black()));
}

void ProcessDetailTableCell::layoutSubviews() {
    ui::TableViewCell::layoutSubviews();
    const double x = contentBounds().x;
    ui::setFrame(title_, {x + 4, 0, 82, kRowHeight});
    ui::setFrame(value_, {x + 86, 0, 230, kRowHeight});
}
