#include "system/UIDevice_Hardware.h"

#include "common/LogCategories.h"
#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Sysctl.h"
#include "system/InterfaceCapture.h"
#include "system/SysctlReads.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStorageInfo>

#include <array>
#include <string>

namespace {

// The device's families, numbered as the classification reports them.
struct PlatformRow {
    const char* string2;
    const char* code2;
    uint32_t capabilities;
};

constexpr const char* kUnknownDevice = "Unknown device in the iPhone/iPod family";

constexpr std::array<PlatformRow, 18> kPlatforms{{
    {kUnknownDevice, kUnknownDevice, 0},                  // 0: no match
    {"iPhone Simulator", "iPhone Simulator", 0x000650A0}, // 1
    {"iPhone Simulator", kUnknownDevice, 0},              // 2: "…86", narrow screen
    {"iPad Simulator", kUnknownDevice, 0},                // 3: "…86", wide screen
    {"iPhone 1G", "M68", 0x0991DCE7},                     // 4
    {"iPhone 3G", "N82", 0x09B1DDE7},                     // 5
    {"iPhone 3GS", "N88", 0x0BFFFFFF},                    // 6
    {"iPhone 4G", "N89", 0},                              // 7
    {"iPod touch 1G", "N45", 0x041018E0},                 // 8
    {"iPod touch 2G", "N72", 0x0BB058E0},                 // 9
    {kUnknownDevice, kUnknownDevice, 0x0BB058E0},         // 10: "iPod2,2"
    {"iPod touch 3G", "N18", 0x0BFE78E0},                 // 11
    {"iPod touch 4G", "N80", 0},                          // 12
    {"iPad 1G", "K48", 0x1BFE7CE0},                       // 13
    {"iPad3G 1G", "K48", 0x1BFE7DE2},                     // 14
    {"Unknown iPhone", "Unknown iPhone", 0},              // 15
    {"Unknown iPod", "Unknown iPod", 0},                  // 16
    {"iFPGA", kUnknownDevice, 0},                         // 17
}};

// Machine classes compared for equality, in order, with their types.
constexpr std::array<std::pair<const char*, int>, 11> kMachineClasses{{
    {"iFPGA", 17},
    {"iPhone1,1", 4},
    {"iPhone1,2", 5},
    {"iPhone2,1", 6},
    {"iPhone3,1", 7},
    {"iPod1,1", 8},
    {"iPod2,1", 9},
    {"iPod2,2", 10},
    {"iPod3,1", 11},
    {"iPod4,1", 12},
    {"iPad1,1", 13},
}};

constexpr std::array<const char*, 29> kCapabilityLabels{
    "Telephony",
    "SMS",
    "Still Camera",
    "AutoFocus Camera",
    "Video Camera",
    "WiFi",
    "Accelerometer",
    "Location Services",
    "GPS",
    "Magnetometer",
    "Built-in Microphone",
    "External Microphone Support",
    "OpenGL ES 1.1",
    "OpenGL ES 2.x",
    "Built-in Speaker",
    "Vibration",
    "Proximity Sensor",
    "Accessibility",
    "VoiceOver",
    "Voice Control",
    "Brightness Sensor",
    "Peer to Peer Bluetooth",
    "The armv7 instruction set",
    "AAC Encoding",
    "Basic Bluetooth",
    "Nike",
    "Piezo clicker",
    "Physical volume rocker",
    "Enhanced Multitouch",
};

// The widest screen that still counts as a phone's, in points.
constexpr double kTabletScreenWidth = 768;

const PlatformRow& platformRow(int type) {
    const bool known = type >= 0 && static_cast<size_t>(type) < kPlatforms.size();
    return kPlatforms[known ? static_cast<size_t>(type) : 0];
}

int hardwareSysctl(int n, void* buffer, size_t* length) {
    const int mib[] = {darwin::CTL_HW, n};
    return darwin::sysctl(mib, 2, buffer, length, nullptr, 0);
}

std::optional<int64_t> diskSpace(bool free) {
    const QStorageInfo home(QDir::homePath());
    if (!home.isValid() || !home.isReady()) {
        return std::nullopt;
    }
    return free ? home.bytesFree() : home.bytesTotal();
}

double mainScreenWidth() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen != nullptr ? screen->size().width() : 0;
}

} // namespace

int32_t UIDevice_Hardware::getIntegerValue(int n) {
    return sysctlreads::integer(
        [n](void* buffer, size_t* length) { return hardwareSysctl(n, buffer, length); });
}

// The kernel answers a 64-bit node whole into 8 bytes; an older node answers 4.
std::optional<int64_t> UIDevice_Hardware::getInteger64Value(int n) {
    unsigned char bytes[sizeof(int64_t)] = {};
    size_t length = sizeof bytes;
    if (hardwareSysctl(n, bytes, &length) != 0) {
        return std::nullopt;
    }
    if (length == sizeof(int64_t)) {
        return darwin::readLE<int64_t>(bytes, 0);
    }
    if (length == sizeof(int32_t)) {
        return darwin::readLE<int32_t>(bytes, 0);
    }
    return std::nullopt;
}

std::optional<QString> UIDevice_Hardware::getStringValue(int n) {
    return sysctlreads::string(
        [n](void* buffer, size_t* length) { return hardwareSysctl(n, buffer, length); });
}

int32_t UIDevice_Hardware::getIntegerValueByName(const char* name) {
    return sysctlreads::integer([name](void* buffer, size_t* length) {
        return darwin::sysctlbyname(name, buffer, length, nullptr, 0);
    });
}

std::optional<QString> UIDevice_Hardware::getSysInfoByName(const char* name) {
    return sysctlreads::string([name](void* buffer, size_t* length) {
        return darwin::sysctlbyname(name, buffer, length, nullptr, 0);
    });
}

std::optional<QString> UIDevice_Hardware::machine() {
    return getStringValue(darwin::HW_MACHINE);
}

std::optional<QString> UIDevice_Hardware::model() {
    return getStringValue(darwin::HW_MODEL);
}

int32_t UIDevice_Hardware::ncpu() {
    return getIntegerValue(darwin::HW_NCPU);
}

int32_t UIDevice_Hardware::byteorder() {
    return getIntegerValue(darwin::HW_BYTEORDER);
}

std::optional<int64_t> UIDevice_Hardware::physmem() {
    return getInteger64Value(darwin::HW_PHYSMEM);
}

std::optional<int64_t> UIDevice_Hardware::usermem() {
    return getInteger64Value(darwin::HW_USERMEM);
}

std::optional<int64_t> UIDevice_Hardware::memsize() {
    return getInteger64Value(darwin::HW_MEMSIZE);
}

std::optional<int64_t> UIDevice_Hardware::busfreq() {
    return getInteger64Value(darwin::HW_BUS_FREQ);
}

std::optional<int64_t> UIDevice_Hardware::cpufreq() {
    return getInteger64Value(darwin::HW_CPU_FREQ);
}

std::optional<int64_t> UIDevice_Hardware::tbfreq() {
    return getInteger64Value(darwin::HW_TB_FREQ);
}

int32_t UIDevice_Hardware::pagesize() {
    return getIntegerValue(darwin::HW_PAGESIZE);
}

int32_t UIDevice_Hardware::floatingpoint() {
    return getIntegerValueByName("hw.optional.floatingpoint");
}

int32_t UIDevice_Hardware::cachesize() {
    return getIntegerValue(darwin::HW_CACHELINE);
}

int32_t UIDevice_Hardware::l1icachesize() {
    return getIntegerValue(darwin::HW_L1ICACHESIZE);
}

int32_t UIDevice_Hardware::l1dcachesize() {
    return getIntegerValue(darwin::HW_L1DCACHESIZE);
}

int32_t UIDevice_Hardware::availcpu() {
    return getIntegerValue(darwin::HW_AVAILCPU);
}

std::optional<QString> UIDevice_Hardware::platform() {
    return getSysInfoByName("hw.machine");
}

int UIDevice_Hardware::platformType() {
    return platformTypeOf(platform().value_or(QString()), mainScreenWidth());
}

int UIDevice_Hardware::platformTypeOf(const QString& machineClass, double screenWidth) {
    for (const auto& [name, type] : kMachineClasses) {
        if (machineClass == QLatin1String(name)) {
            return type;
        }
    }
    if (machineClass.startsWith(QLatin1String("iPhone"))) {
        return 15;
    }
    if (machineClass.startsWith(QLatin1String("iPod"))) {
        return 16;
    }
    if (machineClass.endsWith(QLatin1String("86"))) {
        return screenWidth < kTabletScreenWidth ? 2 : 3;
    }
    return 0;
}

QString UIDevice_Hardware::platformString2() {
    return platformString2Of(platformType());
}

QString UIDevice_Hardware::platformCode2() {
    return platformCode2Of(platformType());
}

uint32_t UIDevice_Hardware::platformCapabilities() {
    return platformCapabilitiesOf(platformType());
}

bool UIDevice_Hardware::platformHasCapability(uint32_t mask) {
    return (platformCapabilities() & mask) == mask;
}

QStringList UIDevice_Hardware::capabilityArray() {
    return capabilityArrayOf(platformType());
}

QString UIDevice_Hardware::platformString2Of(int type) {
    return QString::fromLatin1(platformRow(type).string2);
}

QString UIDevice_Hardware::platformCode2Of(int type) {
    return QString::fromLatin1(platformRow(type).code2);
}

uint32_t UIDevice_Hardware::platformCapabilitiesOf(int type) {
    return platformRow(type).capabilities;
}

QStringList UIDevice_Hardware::capabilityArrayOf(int type) {
    const uint32_t capabilities = platformCapabilitiesOf(type);
    QStringList labels;
    for (size_t bit = 0; bit < kCapabilityLabels.size(); ++bit) {
        if ((capabilities & (1u << bit)) != 0) {
            labels.append(QString::fromLatin1(kCapabilityLabels[bit]));
        }
    }
    return labels;
}

std::optional<int64_t> UIDevice_Hardware::freeDiskSpace() {
    return diskSpace(true);
}

std::optional<int64_t> UIDevice_Hardware::totalDiskSpace() {
    return diskSpace(false);
}

// The interface list as the address list gives it (InterfaceCapture), read afresh: the
// device's "en0" or the host's wireless interface in its place.
std::optional<QString> UIDevice_Hardware::macaddress() {
    const std::optional<QString> address =
        InterfaceCapture::read(InterfaceCapture::deviceInterfaceNames()).macaddr();
    if (!address) {
        qCWarning(lcSystem, "macaddress: en0 has no link-level address");
        return std::nullopt;
    }
    return address->toUpper();
}

int count_bit(uint32_t word) {
    word = (word & 0x55555555u) + ((word >> 1) & 0x55555555u);
    word = (word & 0x33333333u) + ((word >> 2) & 0x33333333u);
    word = (word & 0x0F0F0F0Fu) + ((word >> 4) & 0x0F0F0F0Fu);
    return static_cast<int>((word & 0xFFu) + ((word >> 8) & 0xFFu) + ((word >> 16) & 0xFFu) +
                            (word >> 24));
}
