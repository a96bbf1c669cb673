#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

extern const QString kSystemStatusTableCellIdentifier;

// A row of the System screen: a title on the left and a bold value on the right. The
// offset moves the boundary between them (a larger offset widens the title).
class SystemStatusTableCell : public ui::TableViewCell {
public:
    static constexpr double kRowHeight = 28;

    explicit SystemStatusTableCell(const QString& reuseIdentifier);

    int offset() const { return offset_; }
    void setOffset(int offset);
    ui::Label* title() const { return title_; }
    ui::Label* value() const { return value_; }
    void setColor(const ui::Color& color);

    void layoutSubviews() override;
    void prepareForReuse() override;

private:
    int offset_ = 0;
    ui::Label* title_;
    ui::Label* value_;
};
