#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <cstdint>

extern const QString kMemoryStatusTableCellIdentifier;

// A row of the memory screen and of the memory chart's legend: a title on the left and
// a bold value on the right. The offset moves the boundary between them to the right;
// in a content area narrower than 300 points both shrink in proportion.
class MemoryStatusTableCell : public ui::TableViewCell {
public:
    static constexpr double kRowHeight = 28;

    explicit MemoryStatusTableCell(const QString& reuseIdentifier);

    int32_t offset() const { return offset_; }
    void setOffset(int32_t offset);
    ui::Label* title() const { return title_; }
    ui::Label* value() const { return value_; }
    // The text colour of both labels.
    void setColor(const ui::Color& color);

    void layoutSubviews() override;
    void prepareForReuse() override;

private:
    int32_t offset_ = 0;
    ui::Label* title_;
    ui::Label* value_;
};
