#include "platform/services/PlatformProfile.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

using services::MainApplication;
using services::PlatformProfile;

TEST(PlatformProfile, LinuxProgramsPlayTheMainApplicationRoles) {
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("gnome-calls"), MainApplication::Phone);
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("rhythmbox"), MainApplication::MusicPlayer);
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("thunderbird"), MainApplication::Mail);
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("chatty"), MainApplication::SMS);
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("firefox-esr"),
              MainApplication::WebBrowser);
    // Names are the kernel's, cut to 15 characters, and compared exactly.
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("plasmaphonedial"), MainApplication::Phone);
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand("Firefox"), MainApplication::None);
    EXPECT_EQ(PlatformProfile::mainApplicationOfCommand(""), MainApplication::None);
}

TEST(PlatformProfile, TheDesktopSessionUserIsWhoeverRootActsFor) {
    const QString seat = testenv::fixturePath("seats/seat0");
    const QString noSeat = testenv::fixturePath("seats/missing");
    EXPECT_EQ(PlatformProfile::desktopSessionUid(1000, "1001", "", seat), 1000u);
    EXPECT_EQ(PlatformProfile::desktopSessionUid(0, "1001", "1003", seat), 1001u);
    EXPECT_EQ(PlatformProfile::desktopSessionUid(0, "", "1003", seat), 1003u);
    EXPECT_EQ(PlatformProfile::desktopSessionUid(0, "not-a-number", "", seat), 1002u);
    EXPECT_EQ(PlatformProfile::desktopSessionUid(0, "", "", noSeat), 0u);
}

TEST(PlatformProfile, TheDiskTabListsLocalBlockDeviceFileSystems) {
    for (const char* type : {"hfs", "ext4", "btrfs", "xfs", "vfat", "fuseblk"}) {
        EXPECT_TRUE(PlatformProfile::isListedFileSystemType(type)) << type;
    }
    // Pseudo, memory and network file systems hold no disk space of the device.
    for (const char* type : {"proc", "sysfs", "tmpfs", "devtmpfs", "overlay", "nfs", "cifs",
                             "fuse.sshfs", "HFS", ""}) {
        EXPECT_FALSE(PlatformProfile::isListedFileSystemType(type)) << type;
    }
}

TEST(PlatformProfile, SystemAndUserAreasByDeviceOrMountPoint) {
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/disk0s1", "/"), "SystemArea");
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/disk0s2", "/private/var"), "UserArea");
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/nvme0n1p2", "/"), "SystemArea");
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/nvme0n1p3", "/home"), "UserArea");
    // The device's own partitions keep their roles wherever they are mounted.
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/disk0s2", "/"), "UserArea");
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/disk1", "/Volumes/Card"), "");
    EXPECT_EQ(PlatformProfile::diskAreaKey("/dev/sdb1", "/home/user"), "");
}

} // namespace

TEST(PlatformProfile, TheWirelessInterfaceIsTheFirstWithARadioElseTheDefaultRoutes) {
    const QString root = testenv::makeTempDir("wireless-root");
    for (const char* entry : {"eth0", "wlp3s0/wireless", "wlan1/phy80211", "proc/net"}) {
        const QString path = QString::fromLatin1(entry).startsWith("proc")
                                 ? root + "/" + entry
                                 : root + "/sys/class/net/" + entry;
        ASSERT_TRUE(QDir().mkpath(path));
    }
    QFile route(root + "/proc/net/route");
    ASSERT_TRUE(route.open(QIODevice::WriteOnly));
    route.write("Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\n"
                "eth0\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\n");
    route.close();
    EXPECT_EQ(PlatformProfile::wirelessInterfaceName(root), "wlan1") << "first by name";
    ASSERT_TRUE(QDir(root + "/sys/class/net/wlan1").removeRecursively());
    ASSERT_TRUE(QDir(root + "/sys/class/net/wlp3s0").removeRecursively());
    EXPECT_EQ(PlatformProfile::wirelessInterfaceName(root), "eth0") << "no radio";
    EXPECT_EQ(PlatformProfile::wirelessInterfaceName(testenv::fixturePath("routing/no-default")),
              "");
}

namespace {

TEST(PlatformProfile, LinuxMachinesPublishTheirBatteryUnderTheirOwnClass) {
    using services::PlatformProfile;
    EXPECT_EQ(PlatformProfile::batteryServiceClass(QStringLiteral("pine64,pinephone")),
              "LinuxPowerSupplyBattery");
    EXPECT_EQ(PlatformProfile::batteryServiceClass(std::nullopt), "LinuxPowerSupplyBattery");
    EXPECT_EQ(PlatformProfile::batteryServiceClass(QStringLiteral("iPad1,1")), "");
    EXPECT_EQ(PlatformProfile::batteryServiceClass(QStringLiteral("iPhone3,1")), "");
}

} // namespace
