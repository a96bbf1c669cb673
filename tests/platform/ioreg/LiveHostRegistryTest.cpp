#include "platform/ioreg/FixtureBackend.h"
#include "platform/ioreg/LinuxBackend.h"
#include "platform/ioreg/Registry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

QStringList& hostWarnings() {
    static QStringList warnings;
    return warnings;
}

void collectWarning(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        hostWarnings().append(text);
    }
}

// The running host, whatever it has: every question is answered, ModemManager and
// nl80211 included, and a host without them says nothing about it.
TEST(LiveHostRegistry, TheHostAnswersEveryQuestionQuietly) {
    ioreg::Registry::install(std::make_shared<ioreg::LinuxBackend>(QStringLiteral("/")));
    const QtMessageHandler previous = qInstallMessageHandler(&collectWarning);
    for (int round = 0; round < 2; ++round) {
        for (const char* serviceClass :
             {"IOPlatformExpertDevice", "LinuxPowerSupplyBattery", "IOFlashStorageDevice",
              "ApplePCF50635PMUBacklight", "IO80211Interface", "AppleD1755PMUPowerSource"}) {
            const auto service = ioreg::Registry::matchingService(QLatin1String(serviceClass));
            if (service) {
                EXPECT_EQ(service->className, QLatin1String(serviceClass));
            }
        }
        for (const char* key : {"device-imei", "backlight-level", "compatible"}) {
            const auto value = ioreg::Registry::searchProperty("IODeviceTree", key, true);
            if (value) {
                EXPECT_EQ(value->type(), ioreg::Value::Type::Data);
            }
        }
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(previous);
    ioreg::Registry::install(std::make_shared<ioreg::FixtureBackend>());
    EXPECT_EQ(hostWarnings(), QStringList());
}

} // namespace
