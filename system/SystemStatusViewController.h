#pragma once

#include "platform/ui/TableViewController.h"

#include <QStringList>

class AppState;
class SystemStatus;

// The System tab's root screen: one grouped table of the device's running state.
// Sections keep their fixed numbers; a section without rows shows nothing.
class SystemStatusViewController : public ui::TableViewController {
public:
    enum Section {
        UptimeSection = 0,
        LoadAvgSection,
        BatterySection,
        NetworkSection,
        WhoSection,
        LocationSection,
        AccelerometerSection,
        FlashSection,
        DeviceSection,
        KernelSection,
        HardwareSection,
        SectionCount
    };

    SystemStatusViewController();

    void viewDidLoad() override;
    void viewDidUnload() override;
    void refreshAction();

    SystemStatus* sysInfo() const { return sysInfo_; }
    bool isNoOneThere() const { return isNoOneThere_; }

    int numberOfSectionsInTableView(ui::TableView*) override { return SectionCount; }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

private:
    struct Row {
        QString title;
        QString value;
        int offset = 0;
    };
    Row rowAt(const ui::IndexPath& indexPath) const;

    AppState* appCon_;
    SystemStatus* sysInfo_;
    QStringList loadTitle;
    bool isNoOneThere_ = true;
};
