#include "system/SystemStatusViewController.h"

#include "common/AppState.h"
#include "common/NumberText.h"
#include "common/Resources.h"
#include "location/LocationController.h"
#include "location/MapViewController.h"
#include "platform/services/DeviceIdentity.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "system/SystemStatus.h"
#include "system/SystemStatusTableCell.h"
#include "system/UIDevice_Extensions.h"
#include "system/UIDevice_Hardware.h"
#include "system/UIDevice_Kernel.h"
#include "system/UIDevice_Network.h"

#include <QLocale>
#include <QTimeZone>

#include <charconv>

namespace {

const char* const kSectionHeaderKeys[SystemStatusViewController::SectionCount] = {
    "UptimeInfo",        "LoadAvgInfo", "BatteryInfo", "NetworkInfo", "WhoInfo",     "LocationInfo",
    "AccelerometerInfo", "FlashInfo",   "DeviceInfo",  "KernelInfo",  "HardwareInfo"};

constexpr int kBatteryOffset = 20;
constexpr int kNetworkOffset = 20;
constexpr int kNoLoginOffset = 100;
constexpr int kLocationOffset = 30;
constexpr int kAccelerationOffset = 20;
constexpr int kFlashOffset = -16;
constexpr int kDeviceOffset = 30;
constexpr int kHardwareOffset = 30;
constexpr int64_t kMegabyte = 1048576;
constexpr int64_t kMegahertz = 1000000;

QStringList texts(std::initializer_list<const char*> keys) {
    QStringList list;
    for (const char* key : keys) {
        list.append(Resources::text(key));
    }
    return list;
}

// Appends a row when its value is there.
void appendIf(QStringList& titles, QStringList& values, const char* key,
              const std::optional<QString>& value) {
    if (value) {
        titles.append(Resources::text(key));
        values.append(*value);
    }
}

void append(QStringList& titles, QStringList& values, const char* key, const QString& value) {
    titles.append(Resources::text(key));
    values.append(value);
}

// The platform's description of an instant: local date and time with the zone offset.
QString instantText(const std::optional<QDateTime>& instant) {
    if (!instant) {
        return {};
    }
    const QDateTime local = instant->toLocalTime();
    const int offsetMinutes = local.offsetFromUtc() / 60;
    const QChar sign = offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+');
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + sign +
           QStringLiteral("%1%2")
               .arg(std::abs(offsetMinutes) / 60, 2, 10, QLatin1Char('0'))
               .arg(std::abs(offsetMinutes) % 60, 2, 10, QLatin1Char('0'));
}

// A battery value the battery has: the registry answers "(null)" for a key it lacks,
// which is no value to show.
std::optional<QString> presentValue(const std::optional<QString>& value) {
    return value && *value != QLatin1String("(null)") ? value : std::nullopt;
}

// The leading integer of a text, as the device reads one; 0 for none.
int64_t integerOf(const std::optional<QString>& text) {
    if (!text) {
        return 0;
    }
    const QByteArray bytes = text->trimmed().toLatin1();
    const char* first = bytes.constData();
    if (*first == '+') {
        ++first;
    }
    int64_t value = 0;
    std::from_chars(first, bytes.constData() + bytes.size(), value);
    return value;
}

} // namespace

SystemStatusViewController::SystemStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped),
      appCon_(AppState::ofSharedApplication()), sysInfo_(SystemStatus::sharedInstance()),
      locationController_(LocationController::sharedInstance()),
      accelerometer_(services::Accelerometer::sharedAccelerometer()) {
    setTitle(Resources::text("SystemStatus"));
    locationController_->setDelegate(this);
    locationController_->start();
    isNoOneThere_ = sysInfo_->who().isEmpty();
}

SystemStatusViewController::~SystemStatusViewController() {
    if (locationController_->delegate() == this) {
        locationController_->setDelegate(nullptr);
    }
    accelerometer_->setDelegate(nullptr);
}

void SystemStatusViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    auto* info = ui::Button::buttonWithType(ui::ButtonType::InfoLight);
    info->setAccessibleName(Resources::text("Info"));
    info->addTargetActionForTouchUpInside([this] { infoAction(); });
    navigationItem()->setLeftBarButtonItem(new ui::BarButtonItem(info));
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
    loadTitle = texts({"Avg1Min", "Avg5Mins", "Avg15Mins"});
    getBatteryInfo();
    getNetworkInfo();
    locTitle =
        texts({"Latitude", "Longitude", "HorizontalAccuracy", "Altitude", "VerticalAccuracy"});
    resetLocationRows();
    accelerometer_->setUpdateInterval(1.0);
    accelerometer_->setDelegate(this);
    accelTitle = texts({"AccelerationX", "AccelerationY", "AccelerationZ"});
    getAccelerationInfo();
    getFlashInfo();
    getDeviceInfo();
    getKernelInfo();
    getHardwareInfo();
}

void SystemStatusViewController::viewDidUnload() {
    accelerometer_->setDelegate(nullptr);
    for (QStringList* list : {&loadTitle, &batTitle, &batValue, &netTitle, &netValue, &locTitle,
                              &locValue, &accelTitle, &accelValue, &flashTitle, &flashValue,
                              &devTitle, &devValue, &kernTitle, &kernValue, &hwTitle, &hwValue}) {
        list->clear();
    }
    batteryColor_.reset();
    ui::TableViewController::viewDidUnload();
}

// Without a location service the scan never starts: the section says so at once
// instead of scanning for ever.
void SystemStatusViewController::resetLocationRows() {
    if (locationController_->isScanning() || locationController_->errorString().isEmpty()) {
        locValue = {Resources::text("LocationInfoScanning")};
    } else {
        locValue = {locationController_->errorString()};
    }
}

void SystemStatusViewController::refreshAction() {
    sysInfo_->snapshotOfUptime();
    sysInfo_->snapshotOfLoadAvg();
    sysInfo_->snapshotOfWho();
    isNoOneThere_ = sysInfo_->who().isEmpty();
    locationController_->start();
    resetLocationRows();
    getBatteryInfo();
    // A laptop that moved to another network has other addresses now; a modem's IMEI,
    // asked for without waiting when the view loaded, may have come since.
    UIDevice_Network::refresh();
    getNetworkInfo();
    getDeviceInfo();
    tableView()->reloadData();
}

namespace {

SystemStatusViewController::InformationScreenMaker& informationScreenMaker() {
    static SystemStatusViewController::InformationScreenMaker maker;
    return maker;
}

} // namespace

void SystemStatusViewController::setInformationScreenMaker(InformationScreenMaker maker) {
    informationScreenMaker() = std::move(maker);
}

void SystemStatusViewController::infoAction() {
    ui::ViewController* screen = informationScreenMaker() ? informationScreenMaker()() : nullptr;
    if (screen == nullptr) {
        return;
    }
    auto* stack = new ui::NavigationController(screen);
    stack->navigationBar()->setBarStyle(ui::BarStyle::Black);
    presentModalViewControllerAnimated(stack, true);
}

ui::Color SystemStatusViewController::batteryColorOf(int percent) {
    if (percent <= 10) {
        return {0.7, 0, 0, 1};
    }
    if (percent <= 20) {
        return {0.7, 0.7, 0, 1};
    }
    return {0, 0.7, 0, 1};
}

void SystemStatusViewController::getBatteryInfo() {
    batTitle.clear();
    batValue.clear();
    appendIf(batTitle, batValue, "BatterySerialNumber",
             presentValue(UIDevice_Extensions::batterySerialNumber()));
    appendIf(batTitle, batValue, "BatteryModel", presentValue(UIDevice_Extensions::batteryModel()));
    const int64_t current = integerOf(UIDevice_Extensions::batteryCurrentCapacity());
    const int64_t max = integerOf(UIDevice_Extensions::batteryMaxCapacity());
    if (max <= 0) {
        return;
    }
    const QString percent = QString::number(double(current) * 100.0 / double(max), 'f', 0);
    // A battery that does not say whether it charges shows the bare charge.
    const std::optional<QString> charging =
        presentValue(UIDevice_Extensions::batteryInfoString(QStringLiteral("IsCharging")));
    QString value = percent;
    if (charging) {
        const char* key = UIDevice_Extensions::yesNo(charging) == QLatin1String("YES")
                              ? "BatteryIsCharging"
                          : UIDevice_Extensions::batteryFullyCharged() == QLatin1String("YES")
                              ? "BatteryFullyCharged"
                              : "BatteryNotCharging";
        value = Resources::text(key).arg(percent);
    }
    append(batTitle, batValue, "BatteryCapacity", value);
    batteryColor_ = batteryColorOf(percent.toInt());
}

void SystemStatusViewController::getNetworkInfo() {
    netTitle.clear();
    netValue.clear();
    append(netTitle, netValue, "EtherAddress", UIDevice_Network::macaddr().value_or(QString()));
    appendIf(netTitle, netValue, "IPAddress", UIDevice_Network::ipaddr());
    appendIf(netTitle, netValue, "Netmask", UIDevice_Network::netmask());
    appendIf(netTitle, netValue, "Broadcast", UIDevice_Network::broadcast());
    appendIf(netTitle, netValue, "IPv6Address", UIDevice_Network::ip6addr());
    appendIf(netTitle, netValue, "Apple80211SSID", UIDevice_Extensions::apple80211SSID());
    if (const std::optional<QString> channel = UIDevice_Extensions::apple80211Channel()) {
        const std::optional<QString> band = UIDevice_Extensions::apple80211Band();
        append(netTitle, netValue, "Apple80211Channel",
               band ? QStringLiteral("%1 (%2)").arg(*channel, *band) : *channel);
    }
}

void SystemStatusViewController::getAccelerationInfo() {
    if (!accelerometer_->isAvailable()) {
        accelValue = {Resources::text("NoAccelerometer")};
    } else {
        accelValue = {numberText(appCon_, accelerationX, 2), numberText(appCon_, accelerationY, 2),
                      numberText(appCon_, accelerationZ, 2)};
    }
    if (isViewLoaded()) {
        tableView()->reloadSectionsWithRowAnimation({AccelerometerSection},
                                                    ui::TableViewRowAnimation::None);
    }
}

void SystemStatusViewController::getFlashInfo() {
    flashTitle.clear();
    flashValue.clear();
    appendIf(flashTitle, flashValue, "FlashType", UIDevice_Extensions::flashDeviceType());
    appendIf(flashTitle, flashValue, "FlashBBTFormat", UIDevice_Extensions::flashDeviceFormat());
    appendIf(flashTitle, flashValue, "FlashDesc", UIDevice_Extensions::flashDeviceDescription());
    appendIf(flashTitle, flashValue, "FlashBanks", UIDevice_Extensions::flashNumberOfBanks());
    appendIf(flashTitle, flashValue, "FlashBankOfBlocks", UIDevice_Extensions::flashBankOfBlocks());
    appendIf(flashTitle, flashValue, "FlashBlockPages", UIDevice_Extensions::flashBlockPages());
    appendIf(flashTitle, flashValue, "FlashPageSectors", UIDevice_Extensions::flashPageSectors());
    appendIf(flashTitle, flashValue, "FlashPageBytes", UIDevice_Extensions::flashPageBytes());
}

void SystemStatusViewController::getDeviceInfo() {
    devTitle.clear();
    devValue.clear();
    const QString unknown = Resources::text("Unknown");
    append(devTitle, devValue, "DeviceName", device_.name());
    append(devTitle, devValue, "DeviceModel", UIDevice_Hardware::model().value_or(unknown));
    append(devTitle, devValue, "LocalizedModel", device_.localizedModel());
    append(devTitle, devValue, "SystemName", device_.systemName());
    append(devTitle, devValue, "SystemVersion", device_.systemVersion());
    appendIf(devTitle, devValue, "DeviceIMEI", UIDevice_Extensions::deviceIMEI());
    appendIf(devTitle, devValue, "SerialNumber", UIDevice_Extensions::serialNumber());
    appendIf(devTitle, devValue, "ModelNumber", UIDevice_Extensions::modelNumber());
    appendIf(devTitle, devValue, "PlatformCode", UIDevice_Extensions::platformCode());
    appendIf(devTitle, devValue, "PlatformName", UIDevice_Extensions::platformName());
    appendIf(devTitle, devValue, "PlatformString", UIDevice_Extensions::platformString());
    appendIf(devTitle, devValue, "PlatformProcessor", UIDevice_Extensions::platformProcessor());
}

// The kernel's texts and dates that it does not keep (no sleep recorded yet) are left
// out rather than shown empty.
void SystemStatusViewController::getKernelInfo() {
    kernTitle.clear();
    kernValue.clear();
    appendIf(kernTitle, kernValue, "KernelType", UIDevice_Kernel::ostype());
    appendIf(kernTitle, kernValue, "KernelRelease", UIDevice_Kernel::osrelease());
    append(kernTitle, kernValue, "KernelRevision", integerText(UIDevice_Kernel::osrevision()));
    appendIf(kernTitle, kernValue, "KernelVersion", UIDevice_Kernel::osversion());
    appendIf(kernTitle, kernValue, "Hostname", UIDevice_Kernel::hostname());
    const auto appendDate = [this](const char* key, const std::optional<QDateTime>& instant) {
        appendIf(kernTitle, kernValue, key,
                 instant ? std::optional<QString>(instantText(instant)) : std::nullopt);
    };
    appendDate("BootTime", UIDevice_Kernel::boottime());
    appendDate("SleepTime", UIDevice_Kernel::sleeptime());
    appendDate("WakeTime", UIDevice_Kernel::waketime());
}

QString SystemStatusViewController::integerText(int32_t value) {
    return value < 0 ? Resources::text("Unknown") : QString::number(value);
}

QString SystemStatusViewController::megabytesText(std::optional<int64_t> bytes) {
    return bytes && *bytes >= 0 ? QStringLiteral("%1 MBytes").arg(*bytes / kMegabyte)
                                : Resources::text("Unknown");
}

QString SystemStatusViewController::megahertzText(std::optional<int64_t> hertz) {
    return hertz && *hertz > 0 ? QStringLiteral("%1 MHz").arg(*hertz / kMegahertz)
                               : Resources::text("Unknown");
}

QString SystemStatusViewController::bytesText(int32_t bytes) {
    return bytes < 0 ? Resources::text("Unknown") : QStringLiteral("%1 Bytes").arg(bytes);
}

void SystemStatusViewController::getHardwareInfo() {
    hwTitle.clear();
    hwValue.clear();
    const QString unknown = Resources::text("Unknown");
    append(hwTitle, hwValue, "Machine", UIDevice_Hardware::machine().value_or(unknown));
    append(hwTitle, hwValue, "Model", UIDevice_Hardware::model().value_or(unknown));
    append(hwTitle, hwValue, "NCPU", integerText(UIDevice_Hardware::ncpu()));
    append(hwTitle, hwValue, "ByteOrder", integerText(UIDevice_Hardware::byteorder()));
    append(hwTitle, hwValue, "PhysMem", megabytesText(UIDevice_Hardware::physmem()));
    append(hwTitle, hwValue, "UserMem", megabytesText(UIDevice_Hardware::usermem()));
    append(hwTitle, hwValue, "PageSize", integerText(UIDevice_Hardware::pagesize()));
    const int32_t floatingPoint = UIDevice_Hardware::floatingpoint();
    append(hwTitle, hwValue, "FloatingPoint",
           floatingPoint < 0 ? unknown : QString::fromLatin1(floatingPoint == 1 ? "YES" : "NO"));
    append(hwTitle, hwValue, "BusFreq", megahertzText(UIDevice_Hardware::busfreq()));
    append(hwTitle, hwValue, "CPUFreq", megahertzText(UIDevice_Hardware::cpufreq()));
    append(hwTitle, hwValue, "Cache", bytesText(UIDevice_Hardware::cachesize()));
    append(hwTitle, hwValue, "L1ICache", bytesText(UIDevice_Hardware::l1icachesize()));
    append(hwTitle, hwValue, "L1DCache", bytesText(UIDevice_Hardware::l1dcachesize()));
}

void SystemStatusViewController::accelerometerDidAccelerate(
    services::Accelerometer*, const services::Acceleration& acceleration) {
    accelerationX = acceleration.x;
    accelerationY = acceleration.y;
    accelerationZ = acceleration.z;
    getAccelerationInfo();
}

void SystemStatusViewController::locationUpdatedGeoDataErrorString(services::LocationManager*,
                                                                   GeoData* geoData,
                                                                   const QString& errorString) {
    locValue.clear();
    if (locationController_->hasNewData() && geoData != nullptr) {
        locValue = {geoData->formattedLatitude(), geoData->formattedLongitude(),
                    geoData->horizontalAccuracyString() + QStringLiteral(" [m]"),
                    geoData->formattedAltitude(),
                    geoData->verticalAccuracyString() + QStringLiteral(" [m]")};
    } else {
        locValue = {errorString.isEmpty() ? Resources::text("Error") : errorString};
    }
    if (isViewLoaded()) {
        tableView()->reloadSectionsWithRowAnimation({LocationSection},
                                                    ui::TableViewRowAnimation::None);
    }
}

int SystemStatusViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    switch (section) {
    case UptimeSection:
        return 1;
    case LoadAvgSection:
        return static_cast<int>(loadTitle.size());
    case BatterySection:
        return static_cast<int>(batTitle.size());
    case NetworkSection:
        return static_cast<int>(netTitle.size());
    case WhoSection:
        return isNoOneThere_ ? 1 : static_cast<int>(sysInfo_->who().size());
    case LocationSection:
        return static_cast<int>(locValue.size());
    case AccelerometerSection:
        return static_cast<int>(accelValue.size());
    case FlashSection:
        return static_cast<int>(flashTitle.size());
    case DeviceSection:
        return static_cast<int>(devTitle.size());
    case KernelSection:
        return static_cast<int>(kernTitle.size());
    case HardwareSection:
        return static_cast<int>(hwTitle.size());
    default:
        return 0;
    }
}

QString SystemStatusViewController::tableViewTitleForHeaderInSection(ui::TableView* tableView,
                                                                     int section) {
    if (section < 0 || section >= SectionCount ||
        tableViewNumberOfRowsInSection(tableView, section) == 0) {
        return {};
    }
    return Resources::text(kSectionHeaderKeys[section]);
}

SystemStatusViewController::Row SystemStatusViewController::rowOf(const QStringList& titles,
                                                                  const QStringList& values,
                                                                  int row, int offset) {
    return {titles.value(row), values.value(row), offset};
}

SystemStatusViewController::Row
SystemStatusViewController::rowAt(const ui::IndexPath& indexPath) const {
    const int row = indexPath.row;
    switch (indexPath.section) {
    case UptimeSection:
        return {Resources::text("Uptime"), sysInfo_->uptime()};
    case LoadAvgSection:
        return {loadTitle.value(row), numberText(appCon_, sysInfo_->loadavg(row), 2)};
    case BatterySection:
        return rowOf(batTitle, batValue, row, kBatteryOffset);
    case NetworkSection: {
        const QString title = netTitle.value(row);
        return {title, netValue.value(row),
                title.startsWith(QLatin1String("IPv6")) ? 0 : kNetworkOffset};
    }
    case WhoSection:
        if (isNoOneThere_) {
            return {Resources::text("NoLoginUser"), Resources::text("NoIdleTime"), kNoLoginOffset};
        }
        if (row < sysInfo_->who().size()) {
            const LoginRecord& login = sysInfo_->who().at(row);
            return {login.user, login.idle};
        }
        return {};
    case LocationSection: {
        const bool located =
            !locationController_->isScanning() && locationController_->hasNewData();
        return {located ? locTitle.value(row) : QString(), locValue.value(row), kLocationOffset};
    }
    case AccelerometerSection:
        return rowOf(accelValue.size() == 1 ? QStringList() : accelTitle, accelValue, row,
                     kAccelerationOffset);
    case FlashSection:
        return rowOf(flashTitle, flashValue, row, kFlashOffset);
    case DeviceSection:
        return rowOf(devTitle, devValue, row, kDeviceOffset);
    case KernelSection:
        return rowOf(kernTitle, kernValue, row, 0);
    case HardwareSection:
        return rowOf(hwTitle, hwValue, row, kHardwareOffset);
    default:
        return {};
    }
}

ui::TableViewCell*
SystemStatusViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<SystemStatusTableCell>(kSystemStatusTableCellIdentifier);
    const Row row = rowAt(indexPath);
    cell->title()->setText(row.title);
    cell->value()->setText(row.value);
    cell->setOffset(row.offset);
    const bool lastBatteryRow =
        indexPath.section == BatterySection && indexPath.row == batTitle.size() - 1;
    cell->setColor(lastBatteryRow && batteryColor_ ? *batteryColor_ : ui::Color::black());
    return cell;
}

double SystemStatusViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                                    const ui::IndexPath&) {
    return SystemStatusTableCell::kRowHeight;
}

void SystemStatusViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                  const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    const GeoData* geoData = locationController_->geoData();
    if (indexPath.section != LocationSection || locValue.size() <= 1 ||
        !locationController_->hasNewData() || !geoData->location()) {
        return;
    }
    auto* map =
        new MapViewController(geoData->location()->latitude, geoData->location()->longitude);
    auto* stack = new ui::NavigationController(map);
    presentModalViewControllerAnimated(stack, true);
}
