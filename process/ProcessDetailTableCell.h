#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

#include <optional>

extern const QString kProcessDetailTableCellIdentifier;

// A row of the process detail screen: a blue title and a bold value, whose colour the
// row may give.
class ProcessDetailTableCell : public ui::TableViewCell {
public:
    // What a row shows; without a colour the value is black.
    struct Data {
        QString title;
        QString value;
        std::optional<ui::Color> color;
        bool operator==(const Data&) const = default;
    };

    static constexpr double kRowHeight = 28;
    static constexpr ui::Color kTitleColor{0, 0, 1, 1};

    explicit ProcessDetailTableCell(const QString& reuseIdentifier);

    // Shows `data`; nothing changes when it is what the row already shows.
    void setLabel(const Data& data);
    void layoutSubviews() override;

    const Data& data() const { return data_; }
    ui::Label* title() const { return title_; }
    ui::Label* value() const { return value_; }

private:
    Data data_;
    bool shown_ = false;
    ui::Label* title_;
    ui::Label* value_;
};
