#include "system/UIDevice_Extensions.h"
#include "platform/ioreg/FixtureBackend.h"
#include "platform/ioreg/Registry.h"

#include <gtest/gtest.h>

#include <QVariantMap>

namespace {

const QString kNone = QStringLiteral("<none>");

QString shown(const std::optional<QString>& value) {
    return value.value_or(kNone);
}

// A registry of hand-built services, installed for one case.
class ExtensionsOverFixture : public testing::Test {
protected:
    ExtensionsOverFixture() { ioreg::Registry::install(backend); }
    ~ExtensionsOverFixture() override { ioreg::Registry::install(std::make_shared<ioreg::FixtureBackend>()); }

    void addPlatformExpert(const QByteArray& compatible) {
        backend->addService(
            ioreg::Service{"IOPlatformExpertDevice",
                           {{"compatible", ioreg::Value::data(compatible)},
                            {"model-number", ioreg::Value::data(QByteArray("MC131LL\0", 8))},
                            {"IOPlatformSerialNumber", ioreg::Value::string("88011ABC3NP")}}});
    }

    std::shared_ptr<ioreg::FixtureBackend> backend = std::make_shared<ioreg::FixtureBackend>();
};

TEST_F(ExtensionsOverFixture, CompatibleSplitsIntoBoardMachineClassAndProcessor) {
    addPlatformExpert(QByteArray("B1\0iPhone2,1\0C1\0", 16));
    EXPECT_EQ(shown(UIDevice_Extensions::platformCode()), "B1");
    EXPECT_EQ(shown(UIDevice_Extensions::platformName()), "iPhone2,1");
    EXPECT_EQ(shown(UIDevice_Extensions::platformProcessor()), "C1");
    EXPECT_EQ(shown(UIDevice_Extensions::platformString()), "iPhone 3GS");
    EXPECT_EQ(shown(UIDevice_Extensions::modelNumber()), "MC131LL");
    EXPECT_EQ(shown(UIDevice_Extensions::serialNumber()), "88011ABC3NP");
}

TEST_F(ExtensionsOverFixture, AShortCompatibleLeavesTheMissingElementsOut) {
    addPlatformExpert("B1");
    EXPECT_EQ(shown(UIDevice_Extensions::platformCode()), "B1");
    EXPECT_EQ(shown(UIDevice_Extensions::platformName()), kNone);
    EXPECT_EQ(shown(UIDevice_Extensions::platformProcessor()), kNone);
    EXPECT_EQ(shown(UIDevice_Extensions::platformString()), kNone);

    // A NUL at the end makes an empty machine class, shown as an empty value.
    backend = std::make_shared<ioreg::FixtureBackend>();
    ioreg::Registry::install(backend);
    addPlatformExpert(QByteArray("B1\0", 3));
    EXPECT_EQ(shown(UIDevice_Extensions::platformName()), "");
    EXPECT_EQ(shown(UIDevice_Extensions::platformString()), "");
    EXPECT_EQ(shown(UIDevice_Extensions::platformProcessor()), kNone);
}

TEST_F(ExtensionsOverFixture, ValuesConvertAsTheRegistryShowsThem) {
    backend->addService(
        ioreg::Service{"IOFlashStorageDevice",
                       {{"device_type", ioreg::Value::data(QByteArray("nand\0", 5))},
                        {"bbt-format", ioreg::Value::number(1)},
                        {"#page-bytes", ioreg::Value::number(1024)},
                        {"#ce", ioreg::Value::boolean(true)},
                        {"#ce-blocks", ioreg::Value::boolean(false)},
                        {"#block-pages", ioreg::Value::data({})},
                        {"device-description", ioreg::Value::string("Samsung MLC")}}});
    EXPECT_EQ(shown(UIDevice_Extensions::flashDeviceType()), "nand");
    EXPECT_EQ(shown(UIDevice_Extensions::flashDeviceFormat()), "1");
    EXPECT_EQ(shown(UIDevice_Extensions::flashPageBytes()), "1024");
    EXPECT_EQ(shown(UIDevice_Extensions::flashNumberOfBanks()), "YES");
    EXPECT_EQ(shown(UIDevice_Extensions::flashBankOfBlocks()), "NO");
    EXPECT_EQ(shown(UIDevice_Extensions::flashDeviceDescription()), "Samsung MLC");
    // Empty data and an absent key: no row.
    EXPECT_EQ(shown(UIDevice_Extensions::flashBlockPages()), kNone);
    EXPECT_FALSE(UIDevice_Extensions::getValue("IOFlashStorageDevice", "#block-pages"));
    EXPECT_EQ(shown(UIDevice_Extensions::flashPageSectors()), kNone);
    EXPECT_FALSE(UIDevice_Extensions::getValue("NoSuchClass", "device_type"));

    backend->addService(ioreg::Service{
        "ApplePCF50635PMUBacklight",
        {{"IODisplayParameters",
          ioreg::Value::dictionary(
              {{"brightness", ioreg::Value::dictionary({{"max", ioreg::Value::number(255)},
                                                        {"value", ioreg::Value::number(128)}})},
               {"flags", ioreg::Value::array(
                             {ioreg::Value::boolean(true), ioreg::Value::string("x")})}})}}});
    const QVariantMap parameters = UIDevice_Extensions::backlight().value().toMap();
    EXPECT_EQ(parameters.value("brightness").toMap().value("value").toString(), "128");
    EXPECT_EQ(parameters.value("flags").toList(), (QVariantList{"YES", "x"}));
}

TEST_F(ExtensionsOverFixture, DeviceTreePropertiesAreNonEmptyDataOnly) {
    backend->setDeviceTreeProperty("device-imei",
                                   ioreg::Value::data(QByteArray("011777001000045\0", 16)));
    backend->setDeviceTreeProperty("backlight-level", ioreg::Value::data(QByteArray("\0", 1)));
    backend->setDeviceTreeProperty("model", ioreg::Value::string("not data"));
    backend->setDeviceTreeProperty("empty", ioreg::Value::data({}));
    EXPECT_EQ(shown(UIDevice_Extensions::deviceIMEI()), "011777001000045");
    EXPECT_EQ(UIDevice_Extensions::getPropValue("device-imei"),
              (QStringList{"011777001000045", ""}));
    EXPECT_EQ(shown(UIDevice_Extensions::backlightLevel()), "");
    EXPECT_FALSE(UIDevice_Extensions::getPropValue("model"));
    EXPECT_FALSE(UIDevice_Extensions::getPropValue("empty"));
    EXPECT_FALSE(UIDevice_Extensions::getPropValue("absent"));
}

TEST_F(ExtensionsOverFixture, TheBatteryIsThePowerSourceOfTheMachineClass) {
    addPlatformExpert(QByteArray("N88AP\0iPhone2,1\0ARM\0", 20));
    backend->addService(ioreg::Service{"AppleD1755PMUPowerSource",
                                       {{"CurrentCapacity", ioreg::Value::number(1024)},
                                        {"IsCharging", ioreg::Value::boolean(true)},
                                        {"FullyCharged", ioreg::Value::boolean(false)},
                                        {"Model", ioreg::Value::string("0")},
                                        {"Serial", ioreg::Value::string("true story")},
                                        {"ExternalConnected", ioreg::Value::string("  +007")}}});
    // Another class's battery is not the machine's.
    backend->addService(
        ioreg::Service{"LinuxPowerSupplyBattery", {{"MaxCapacity", ioreg::Value::number(1)}}});
    EXPECT_EQ(shown(UIDevice_Extensions::batteryCurrentCapacity()), "1024");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryIsCharging()), "YES");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryFullyCharged()), "NO");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryInfoString("IsCharging")), "1");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryModel()), "0");
    // An absent key reads "(null)", whose truth is "NO".
    EXPECT_EQ(shown(UIDevice_Extensions::batteryMaxCapacity()), "(null)");
    EXPECT_EQ(shown(UIDevice_Extensions::batterySerialNumber()), "true story");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryAtWarnLevel()), "NO");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryExternalConnected()), "YES");
}

TEST_F(ExtensionsOverFixture, MachinesWithoutAKnownPowerSourceHaveNoBattery) {
    addPlatformExpert(QByteArray("K48AP\0iPad1,1\0", 14));
    backend->addService(
        ioreg::Service{"LinuxPowerSupplyBattery", {{"MaxCapacity", ioreg::Value::number(1)}}});
    EXPECT_EQ(shown(UIDevice_Extensions::batteryMaxCapacity()), kNone);
    EXPECT_EQ(shown(UIDevice_Extensions::batteryIsCharging()), kNone);
    EXPECT_EQ(shown(UIDevice_Extensions::platformString()), "iPad 1G (WiFi)");

    // The device's class with no service of it: no battery either.
    backend = std::make_shared<ioreg::FixtureBackend>();
    ioreg::Registry::install(backend);
    addPlatformExpert(QByteArray("M68AP\0iPhone1,1\0", 16));
    EXPECT_EQ(shown(UIDevice_Extensions::batteryModel()), kNone);
}

TEST_F(ExtensionsOverFixture, ALinuxMachineShowsItsClassAndItsPowerSupplyBattery) {
    addPlatformExpert(QByteArray("pine64,pinephone-1.2\0pine64,pinephone\0", 38));
    backend->addService(ioreg::Service{"LinuxPowerSupplyBattery",
                                       {{"MaxCapacity", ioreg::Value::number(2900)},
                                        {"AtWarnLevel", ioreg::Value::boolean(true)}}});
    EXPECT_EQ(shown(UIDevice_Extensions::platformString()), "pine64,pinephone");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryMaxCapacity()), "2900");
    EXPECT_EQ(shown(UIDevice_Extensions::batteryAtWarnLevel()), "YES");
    EXPECT_EQ(UIDevice_Extensions::platformStringOf("iPod2,2"), "iPod touch 2G+");
}

TEST_F(ExtensionsOverFixture, AnEmptyRegistryShowsNoRows) {
    for (const auto& value :
         {UIDevice_Extensions::platformCode(), UIDevice_Extensions::platformString(),
          UIDevice_Extensions::modelNumber(), UIDevice_Extensions::serialNumber(),
          UIDevice_Extensions::deviceIMEI(), UIDevice_Extensions::flashDeviceType(),
          UIDevice_Extensions::apple80211SSID(), UIDevice_Extensions::apple80211Channel(),
          UIDevice_Extensions::apple80211Band(), UIDevice_Extensions::batteryModel(),
          UIDevice_Extensions::batteryIsCharging()}) {
        EXPECT_EQ(shown(value), kNone);
    }
}

} // namespace
