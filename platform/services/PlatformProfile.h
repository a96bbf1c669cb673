#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace services {

// The device's main applications, by the role each plays.
enum class MainApplication { None, Phone, MusicPlayer, Mail, SMS, WebBrowser };

// What a Linux host offers in place of the handheld's fixed parts: which programs play
// the roles of its main applications, whose processes are the device user's, which
// mounted file systems are its disks and which of them hold the system and the users,
// and which interface is its wireless one.
class PlatformProfile {
public:
    // The role of a program by its command name as the kernel reports it (at most 15
    // characters), or None.
    static MainApplication mainApplicationOfCommand(const QString& command);

    // The user of the desktop session, who counts as the device's mobile user: the
    // user running Ormel; when that is root, the user who called sudo or pkexec, else
    // the user active on the first seat, else root.
    static uint32_t desktopSessionUid();
    // The same decision over given facts (tests).
    static uint32_t desktopSessionUid(uint32_t ownUid, const QByteArray& sudoUid,
                                      const QByteArray& pkexecUid, const QString& seatFile);

    // Whether the Disk tab lists a mounted file system of this type (as the kernel names
    // it): the device's "hfs" and the Linux file systems kept on local block devices;
    // never pseudo, memory or network file systems.
    static bool isListedFileSystemType(const QString& fstypename);
    // The text key of a listed file system's area: "SystemArea" for the device's system
    // partition /dev/disk0s1 or whatever Linux mounts at "/", "UserArea" for its user
    // partition /dev/disk0s2 or whatever is mounted at "/home"; empty for any other.
    static QString diskAreaKey(const QString& device, const QString& mountPoint);

    // The host's name of the device's wireless interface "en0": the first wireless
    // interface by name (one with a "wireless" or "phy80211" entry in /sys/class/net),
    // else the interface of the IPv4 default route; empty when there is neither.
    static QString wirelessInterfaceName();
    // The same decision over the files under `root` (tests).
    static QString wirelessInterfaceName(const QString& root);

    // The registry class under which a Linux host publishes its battery (the first
    // power_supply of type "Battery").
    static constexpr const char* kLinuxBatteryServiceClass = "LinuxPowerSupplyBattery";
    // The battery's service class for a machine class that has no power source of the
    // device's own: none for the device's machines ("iPad1,1" and the like: their
    // batteries are not published), kLinuxBatteryServiceClass for any other machine,
    // or when the machine names no class.
    static QString batteryServiceClass(const std::optional<QString>& machineClass);
};

} // namespace services
