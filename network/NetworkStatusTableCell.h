#pragma once

#include "network/NetworkStatusLabel.h"
#include "platform/ui/Color.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

#include <optional>

extern const QString kNetworkStatusTableCellIdentifier;

// A title/value row of the network detail and socket screens: a title on the left, a
// bold value beside it. `offset` moves the boundary between the two (a positive offset
// narrows the title), `height` is the height of both.
class NetworkStatusTableCell : public ui::TableViewCell {
public:
    // A row: its title (already a display text), its value and, when given, the
    // title's colour.
    struct Data {
        QString title;
        QString value;
        std::optional<ui::Color> color;
        bool operator==(const Data&) const = default;
    };

    static constexpr int kDefaultHeight = 28;

    explicit NetworkStatusTableCell(const QString& reuseIdentifier);

    // Shows `data`; nothing changes when it is what the row already shows. A row without
    // a colour leaves the title's colour as it is.
    void setLabel(const Data& data);
    void setTitleColor(ui::Color color);
    void setOffset(int offset);
    void setHeight(int height);
    void layoutSubviews() override;

    const Data& data() const { return data_; }
    int offset() const { return offset_; }
    int height() const { return height_; }
    NetworkStatusLabel* title() const { return title_; }
    NetworkStatusLabel* value() const { return value_; }

private:
    Data data_;
    bool shown_ = false;
    int offset_ = 0;
    int height_ = kDefaultHeight;
    NetworkStatusLabel* title_;
    NetworkStatusLabel* value_;
};
