#pragma once

#include "location/LocationControllerDelegate.h"
#include "platform/services/Accelerometer.h"
#include "platform/services/DeviceIdentity.h"
#include "platform/ui/Color.h"
#include "platform/ui/TableViewController.h"

#include <QStringList>

#include <functional>
#include <optional>

class AppState;
class LocationController;
class SystemStatus;

// The System tab's root screen: one grouped table of eleven sections, from the uptime
// to the hardware. The device's fixed values are read when the view loads; the uptime,
// load, users, battery and network are read again on refresh, the location and the
// acceleration whenever they report.
class SystemStatusViewController : public ui::TableViewController,
                                   public LocationControllerDelegate,
                                   public services::AccelerometerDelegate {
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
    ~SystemStatusViewController() override;

    void viewDidLoad() override;
    void viewDidUnload() override;
    void refreshAction();
    // Presents the information screen over the tab, in a navigation bar of its own.
    void infoAction();

    using InformationScreenMaker = std::function<ui::ViewController*()>;
    // Installed by the application, which owns the information screen; until then the
    // info button does nothing.
    static void setInformationScreenMaker(InformationScreenMaker maker);

    SystemStatus* sysInfo() const { return sysInfo_; }
    LocationController* locationController() const { return locationController_; }
    bool isNoOneThere() const { return isNoOneThere_; }
    std::optional<ui::Color> batteryColor() const { return batteryColor_; }

    void getBatteryInfo();
    void getNetworkInfo();
    void getAccelerationInfo();
    void getFlashInfo();
    void getDeviceInfo();
    void getKernelInfo();
    void getHardwareInfo();

    void accelerometerDidAccelerate(services::Accelerometer* accelerometer,
                                    const services::Acceleration& acceleration) override;
    void locationUpdatedGeoDataErrorString(services::LocationManager* manager, GeoData* geoData,
                                           const QString& errorString) override;

    int numberOfSectionsInTableView(ui::TableView*) override { return SectionCount; }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

    // The texts a hardware value is shown as, for a value the kernel gave or not.
    static QString integerText(int32_t value);
    static QString megabytesText(std::optional<int64_t> bytes);
    static QString megahertzText(std::optional<int64_t> hertz);
    static QString bytesText(int32_t bytes);
    // The colour of a battery charge of `percent`.
    static ui::Color batteryColorOf(int percent);

private:
    struct Row {
        QString title;
        QString value;
        int offset = 0;
    };
    Row rowAt(const ui::IndexPath& indexPath) const;
    static Row rowOf(const QStringList& titles, const QStringList& values, int row, int offset);
    void resetLocationRows();

    services::DeviceIdentity device_;
    AppState* appCon_;
    SystemStatus* sysInfo_;
    LocationController* locationController_;
    services::Accelerometer* accelerometer_;
    QStringList loadTitle;
    QStringList batTitle, batValue;
    QStringList netTitle, netValue;
    QStringList locTitle, locValue;
    QStringList accelTitle, accelValue;
    QStringList flashTitle, flashValue;
    QStringList devTitle, devValue;
    QStringList kernTitle, kernValue;
    QStringList hwTitle, hwValue;
    double accelerationX = 0;
    double accelerationY = 0;
    double accelerationZ = 0;
    bool isNoOneThere_ = true;
    std::optional<ui::Color> batteryColor_;
};
