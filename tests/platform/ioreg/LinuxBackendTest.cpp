#include "platform/ioreg/FixtureBackend.h"
#include "platform/ioreg/LinuxBackend.h"
#include "platform/ioreg/Registry.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using ioreg::LinuxBackend;
using ioreg::Registry;
using ioreg::Service;
using ioreg::Value;
using ioreg::WirelessLink;

QByteArray nulSeparated(std::initializer_list<const char*> texts) {
    QByteArray bytes;
    for (const char* text : texts) {
        bytes += QByteArray(text) + QByteArray(1, '\0');
    }
    return bytes;
}

// A host over a fake root; the modem and the radio answer what the test says.
class LinuxHost : public testing::Test {
protected:
    void useRoot(const char* name) {
        backend = std::make_shared<LinuxBackend>(
            testenv::fixturePath(QStringLiteral("ioreg/") + QLatin1String(name)),
            [this](ioreg::ModemIdentity::Answer answer) { answer(imei); },
            [this](const QString& interfaceName) {
                askedInterface = interfaceName;
                return link;
            });
        Registry::install(backend);
    }
    void TearDown() override { Registry::install(std::make_shared<ioreg::FixtureBackend>()); }

    std::optional<Value> property(const char* serviceClass, const char* key) {
        const auto service = Registry::matchingService(QLatin1String(serviceClass));
        return service ? service->property(QLatin1String(key)) : std::nullopt;
    }

    std::shared_ptr<LinuxBackend> backend;
    std::optional<QString> imei;
    std::optional<WirelessLink> link;
    QString askedInterface;
};

TEST_F(LinuxHost, ALaptopDescribesItselfFromDmiAndItsPowerSupplies) {
    useRoot("laptop");
    EXPECT_EQ(property("IOPlatformExpertDevice", "compatible"),
              Value::data(nulSeparated(
                  {"20XW0055GE", "20XW0055GE", "11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz"})));
    EXPECT_EQ(property("IOPlatformExpertDevice", "model-number"),
              Value::data(nulSeparated({"ThinkPad X1 Carbon Gen 9"})));
    EXPECT_EQ(property("IOPlatformExpertDevice", "IOPlatformSerialNumber"),
              Value::string("PF2XKQ7M"));

    const auto battery = Registry::matchingService("LinuxPowerSupplyBattery");
    ASSERT_TRUE(battery);
    EXPECT_EQ(battery->property("Serial"), Value::string("1234"));
    EXPECT_EQ(battery->property("Model"), Value::string("5B10W13975"));
    // µWh in sysfs, mWh in the registry.
    EXPECT_EQ(battery->property("CurrentCapacity"), Value::number(41230));
    EXPECT_EQ(battery->property("MaxCapacity"), Value::number(54000));
    EXPECT_EQ(battery->property("IsCharging"), Value::boolean(true));
    EXPECT_EQ(battery->property("FullyCharged"), Value::boolean(false));
    EXPECT_EQ(battery->property("ExternalConnected"), Value::boolean(true));
    EXPECT_EQ(battery->property("ExternalChargeCapable"), Value::boolean(true));
    EXPECT_EQ(battery->property("AtWarnLevel"), Value::boolean(false));
    EXPECT_EQ(battery->property("AtCriticalLevel"), Value::boolean(false));

    // The NVMe disk holding "/" is the flash; its NAND geometry is the controller's.
    EXPECT_EQ(property("IOFlashStorageDevice", "device_type"), Value::data(nulSeparated({"NVMe"})));
    EXPECT_EQ(property("IOFlashStorageDevice", "device-description"),
              Value::string("SAMSUNG MZVLB512HBJQ-000L7"));
    EXPECT_FALSE(property("IOFlashStorageDevice", "#page-bytes"));

    EXPECT_EQ(Registry::searchProperty("IODeviceTree", "backlight-level", true),
              Value::data("9600"));
    const auto display = property("ApplePCF50635PMUBacklight", "IODisplayParameters");
    ASSERT_TRUE(display);
    EXPECT_EQ(display->entry("brightness"), Value::dictionary({{"min", Value::number(0)},
                                                               {"max", Value::number(19200)},
                                                               {"value", Value::number(9600)}}));
}

TEST_F(LinuxHost, APhoneDescribesItselfFromItsDeviceTreeAndRawFlash) {
    useRoot("phone");
    EXPECT_EQ(property("IOPlatformExpertDevice", "compatible"),
              Value::data(nulSeparated(
                  {"pine64,pinephone-1.2", "pine64,pinephone", "allwinner,sun50i-a64"})));
    EXPECT_FALSE(property("IOPlatformExpertDevice", "model-number"));
    EXPECT_EQ(property("IOPlatformExpertDevice", "IOPlatformSerialNumber"),
              Value::string("92c07ed5f2d6a1b0"));

    EXPECT_EQ(property("IOFlashStorageDevice", "device_type"),
              Value::data(nulSeparated({"mlc-nand"})));
    EXPECT_EQ(property("IOFlashStorageDevice", "device-description"), Value::string("gpmi-nand"));
    EXPECT_EQ(property("IOFlashStorageDevice", "#page-bytes"), Value::number(8192));
    EXPECT_EQ(property("IOFlashStorageDevice", "#block-pages"), Value::number(128));
    EXPECT_FALSE(property("IOFlashStorageDevice", "#ce"));

    const auto battery = Registry::matchingService("LinuxPowerSupplyBattery");
    ASSERT_TRUE(battery);
    EXPECT_FALSE(battery->property("Model"));
    EXPECT_EQ(battery->property("CurrentCapacity"), Value::number(1850)); // mAh
    EXPECT_EQ(battery->property("MaxCapacity"), Value::number(2900));
    EXPECT_EQ(battery->property("IsCharging"), Value::boolean(false));
    EXPECT_EQ(battery->property("ExternalConnected"), Value::boolean(false));
    EXPECT_EQ(battery->property("ExternalChargeCapable"), Value::boolean(false));
    EXPECT_EQ(battery->property("AtWarnLevel"), Value::boolean(true));
    EXPECT_EQ(battery->property("AtCriticalLevel"), Value::boolean(false));
}

TEST_F(LinuxHost, TheDeviceTreePlaneIsSearchedFromItsRootDown) {
    useRoot("phone");
    EXPECT_EQ(Registry::searchProperty("IODeviceTree", "chassis-type", false),
              Value::data(nulSeparated({"handset"})));
    EXPECT_FALSE(Registry::searchProperty("IODeviceTree", "clock-frequency", false));
    EXPECT_EQ(Registry::searchProperty("IODeviceTree", "clock-frequency", true),
              Value::data(QByteArray("\x47\x86\x8c\x00", 4)));
    EXPECT_EQ(Registry::searchProperty("IODeviceTree", "u-boot,empty", true), Value::data({}));
    EXPECT_FALSE(Registry::searchProperty("IODeviceTree", "no-such-property", true));
    EXPECT_FALSE(Registry::searchProperty("IOService", "chassis-type", true));
}

TEST_F(LinuxHost, TheImeiIsTheModemsOnceItHasAnswered) {
    useRoot("phone");
    imei = QStringLiteral("490154203237518");
    EXPECT_EQ(Registry::searchProperty("IODeviceTree", "device-imei", true),
              Value::data("490154203237518"));
    imei.reset();
    useRoot("phone");
    EXPECT_FALSE(Registry::searchProperty("IODeviceTree", "device-imei", true));
}

TEST_F(LinuxHost, TheWirelessLinkIsAskedForOfTheProfilesInterface) {
    useRoot("laptop");
    link = WirelessLink{QByteArray("Caf\xc3\xa9 5G"), 5180};
    EXPECT_EQ(property("IO80211Interface", "IO80211SSID"), Value::string("Café 5G"));
    EXPECT_EQ(property("IO80211Interface", "IO80211Channel"), Value::number(36));
    EXPECT_EQ(property("IO80211Interface", "IO80211Band"), Value::string("5 GHz"));
    EXPECT_EQ(askedInterface, "wlp0s20f3");

    link = WirelessLink{std::nullopt, 60480}; // not associated; a 60 GHz frequency
    const auto service = Registry::matchingService("IO80211Interface");
    ASSERT_TRUE(service);
    EXPECT_TRUE(service->properties.empty());

    link.reset();
    EXPECT_FALSE(Registry::matchingService("IO80211Interface"));
}

TEST_F(LinuxHost, ADesktopWithoutBatteryOrFirmwareFactsHasNoSuchServices) {
    useRoot("desktop");
    // Firmware placeholders are no facts; the serial is readable only by root.
    EXPECT_FALSE(Registry::matchingService("IOPlatformExpertDevice"));
    EXPECT_FALSE(Registry::matchingService("LinuxPowerSupplyBattery"));
    // A spinning disk is no flash.
    EXPECT_FALSE(Registry::matchingService("IOFlashStorageDevice"));
    EXPECT_FALSE(Registry::matchingService("ApplePCF50635PMUBacklight"));
    EXPECT_FALSE(Registry::searchProperty("IODeviceTree", "backlight-level", true));
    EXPECT_FALSE(Registry::matchingService("IO80211Interface"));
    EXPECT_EQ(askedInterface, QString());
    EXPECT_FALSE(Registry::matchingService("AppleD1755PMUPowerSource"));
}

} // namespace
