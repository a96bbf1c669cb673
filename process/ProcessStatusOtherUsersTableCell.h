#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

extern const QString kProcessStatusOtherUsersTableCellIdentifier;

// A row of the other users' processes: name and user on the first line, uptime, pid and
// parent pid on the second. Zombies have a purple name, the superuser a brown user.
class ProcessStatusOtherUsersTableCell : public ui::TableViewCell {
public:
    static constexpr ui::Color kZombieColor{0.7, 0, 0.7, 1};
    // The toolkit's brown.
    static constexpr ui::Color kSuperuserColor{0.6, 0.4, 0.2, 1};

    // What a row shows; the screen works it out from the process.
    struct Data {
        QString name;
        QString user;
        QString uptime;
        QString pid;
        QString ppid;
        ui::Color nameColor = ui::Color::black();
        ui::Color userColor = ui::Color::black();
        bool operator==(const Data&) const = default;
    };

    explicit ProcessStatusOtherUsersTableCell(const QString& reuseIdentifier);

    // Shows `data`; nothing changes when it is what the row already shows.
    void setLabel(const Data& data);
    void layoutSubviews() override;

    const Data& data() const { return data_; }
    ui::Label* name() const { return name_; }
    ui::Label* uptime() const { return uptime_; }
    ui::Label* pid() const { return pid_; }
    ui::Label* ppid() const { return ppid_; }
    ui::Label* user() const { return user_; }

private:
    Data data_;
    bool shown_ = false;
    ui::Label* name_;
    ui::Label* uptime_;
    ui::Label* pid_;
    ui::Label* ppid_;
    ui::Label* user_;
};
