#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "process/ProcessStatus.h"

#include <cstdint>

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

    explicit ProcessStatusMobileUserTableCell(const QString& reuseIdentifier);

    // Shows `record`; nothing changes when it is the record already shown.
    void setLabel(const ProcessStatus::Record& record);
    void layoutSubviews() override;

    const ProcessStatus::Record& info() const { return info_; }
    uint32_t myuid() const { return myuid_; }
    int32_t mypid() const { return mypid_; }
    bool myProc() const { return myProc_; }
    ui::Label* name() const { return name_; }
    ui::Label* uptime() const { return uptime_; }
    ui::Label* memory() const { return memory_; }
    ui::ImageView* iconBox() const { return iconBox_; }
    // The bundle name of the image shown ("none48.png" when none fits).
    const QString& iconName() const { return iconName_; }

private:
    ui::Color nameColorFor(const ProcessInfo& info) const;
    QString ownIconNameFor(const ProcessInfo& info) const;

    ProcessStatus::Record info_;
    uint32_t myuid_;
    int32_t mypid_;
    ui::Label* name_;
    ui::Label* uptime_;
    ui::Label* memory_;
    ui::ImageView* iconBox_;
    ui::Image icon_;
    QString iconName_;
    bool myProc_ = false;
};
