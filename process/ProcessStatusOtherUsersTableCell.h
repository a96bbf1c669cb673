#pragma once

#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "process/ProcessStatus.h"

extern const QString kProcessStatusOtherUsersTableCellIdentifier;

// A row of the other users' processes: name and user on the first line, uptime, pid and
// parent pid on the second. Zombies have a purple name, the superuser a brown user.
class ProcessStatusOtherUsersTableCell : public ui::TableViewCell {
public:
    static constexpr ui::Color kZombieColor{0.7, 0, 0.7, 1};
    // The toolkit's brown.
    static constexpr ui::Color kSuperuserColor{0.6, 0.4, 0.2, 1};

    explicit ProcessStatusOtherUsersTableCell(const QString& reuseIdentifier);

    // Shows `record`; nothing changes when it is the record already shown.
    void setLabel(const ProcessStatus::Record& record);
    void layoutSubviews() override;

    const ProcessStatus::Record& info() const { return info_; }
    ui::Label* name() const { return name_; }
    ui::Label* uptime() const { return uptime_; }
    ui::Label* pid() const { return pid_; }
    ui::Label* ppid() const { return ppid_; }
    ui::Label* user() const { return user_; }

private:
    ProcessStatus::Record info_;
    ui::Label* name_;
    ui::Label* uptime_;
    ui::Label* pid_;
    ui::Label* ppid_;
    ui::Label* user_;
};
