#pragma once

#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/TableViewController.h"
#include "process/ProcessDetailTableCell.h"
#include "process/ProcessStatus.h"

#include <QDateTime>
#include <QList>

#include <cstdint>

// One process as title/value rows: command, user, group, ids, state, priority, resident
// memory, start and elapsed time, a row per set process flag and, for a zombie, advice.
// A process of the application's own user (other than the application) can be sent
// SIGKILL or SIGTERM; the signal goes out only after the user's choice in the sheet.
class ProcessDetailViewController : public ui::TableViewController, public ui::ActionSheetDelegate {
public:
    // Button indexes of the signal sheet.
    static constexpr int kSigKillButtonIndex = 0;
    static constexpr int kSigTermButtonIndex = 1;

    // A process flag bit and its description.
    struct FlagInfo {
        int32_t bit;
        const char* text;
    };

    ProcessDetailViewController();

    void setInfo(ProcessStatus::Record info);
    const ProcessStatus::Record& info() const { return info_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidUnload() override;
    void buildInfoData();
    void buildFlagInfo(int32_t flags);
    void stopProcess();
    void actionSheetClickedButtonAtIndex(ui::ActionSheet* actionSheet, int buttonIndex) override;

    uint32_t uid() const { return uid_; }
    int32_t pid() const { return pid_; }
    bool zombie() const { return zombie_; }
    // The stop button while the navigation bar shows it, else nullptr.
    ui::BarButtonItem* stopButton() const { return stopButton_; }
    const QList<ProcessDetailTableCell::Data>& dataCells() const { return dataCells_; }

    // The process flags that have a description, in the order the rows show them.
    static const QList<FlagInfo>& bits();
    // A date as "2009-07-04 14:05:09 +0200": local time and its offset from UTC; empty
    // text for an invalid date.
    static QString dateDescription(const QDateTime& date);

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;

private:
    bool isOwnOtherProcess() const;
    void showStopButton(bool shown);
    void addRow(const char* titleKey, const QString& value,
                std::optional<ui::Color> color = std::nullopt);
    void sendSignal(int sig);
    void showAlert(const QString& titleKey, const QString& message);

    ProcessStatus::Record info_;
    uint32_t uid_;
    int32_t pid_;
    bool zombie_ = false;
    // Owned by the navigation item while it shows the button.
    ui::BarButtonItem* stopButton_ = nullptr;
    QList<ProcessDetailTableCell::Data> dataCells_;
};
