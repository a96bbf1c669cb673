#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <cstdint>

extern const QString kDiskStatusTableCellIdentifier;

// A text row of the disk screen: a title on the left and a bold value on the right, in
// the value's own colour. The offset moves the boundary between them to the right.
class DiskStatusTableCell : public ui::TableViewCell {
public:
    static constexpr double kRowHeight = 28;

    explicit DiskStatusTableCell(const QString& reuseIdentifier);

    int32_t offset() const { return offset_; }
    void setOffset(int32_t offset);
    ui::Label* title() const { return title_; }
    ui::Label* value() const { return value_; }
    void setValueColor(const ui::Color& color);

    void layoutSubviews() override;
    void prepareForReuse() override;

private:
    int32_t offset_ = 0;
    ui::Label* title_;
    ui::Label* value_;
};
