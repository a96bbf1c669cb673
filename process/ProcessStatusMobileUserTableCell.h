#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

extern const QString kProcessStatusMobileUserTableCellIdentifier;

// A row of the main applications and of the mobile user's processes: the name and
// uptime on the left and, for a process of the application's own user, its memory and
// icon. The name's colour tells a zombie, the application itself and the own user's
// processes apart.
class ProcessStatusMobileUserTableCell : public ui::TableViewCell {
public:
    static constexpr ui::Color kZombieColor{0.7, 0, 0.7, 1};
    static constexpr ui::Color kOwnProcessColor{0, 0.7, 0, 1};
    static constexpr ui::Color kOwnUserColor{0, 0, 0.7, 1};

    // What a row shows; the screen works it out from the process.
    struct Data {
        QString name;
        QString uptime;
        ui::Color nameColor = ui::Color::black();
        // A process of the application's own user: its memory shows, its icon further
        // right.
        bool ownUser = false;
        QString memory;
        // The bundle name of the icon ("none48.png" when none fits).
        QString iconName;
        bool operator==(const Data&) const = default;
    };

    explicit ProcessStatusMobileUserTableCell(const QString& reuseIdentifier);

    // Shows `data`; nothing changes when it is what the row already shows.
    void setLabel(const Data& data);
    void layoutSubviews() override;

    const Data& data() const { return data_; }
    ui::Label* name() const { return name_; }
    ui::Label* uptime() const { return uptime_; }
    ui::Label* memory() const { return memory_; }
    ui::ImageView* iconBox() const { return iconBox_; }
    const QString& iconName() const { return data_.iconName; }

private:
    Data data_;
    bool shown_ = false;
    ui::Label* name_;
    ui::Label* uptime_;
    ui::Label* memory_;
    ui::ImageView* iconBox_;
    ui::Image icon_;
};
