#include "system/SystemStatusViewController.h"

#include "location/LocationController.h"
#include "location/MapAnnotation.h"
#include "location/MapViewController.h"
#include "platform/ioreg/FixtureBackend.h"
#include "platform/ioreg/Registry.h"
#include "platform/services/PlatformProfile.h"
#include "platform/ui/DelayedPerform.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "support/EventLoop.h"
#include "support/ManualTimer.h"
#include "support/NetworkBuffers.h"
#include "support/ScopedLocale.h"
#include "support/SystemFixture.h"
#include "system/SystemStatus.h"
#include "system/SystemStatusTableCell.h"
#include "system/UIDevice_Network.h"
#include "tests/location/FakeLocationManager.h"

#include "support/QtPrinters.h"
#include "support/TableJson.h"

#include <gtest/gtest.h>

namespace {

// An accelerometer whose readings the test sends.
class FakeAccelerometer : public services::Accelerometer {
public:
    bool isAvailable() const override { return true; }
    void setUpdateInterval(double seconds) override { interval = seconds; }
    void setDelegate(services::AccelerometerDelegate* delegate) override { delegate_ = delegate; }
    void send(const services::Acceleration& acceleration) {
        delegate_->accelerometerDidAccelerate(this, acceleration);
    }
    double interval = 0;

private:
    services::AccelerometerDelegate* delegate_ = nullptr;
};

// The screen over a fixture kernel, registry, location service and accelerometer.
class SystemStatusViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The shared snapshot outlives each test: bring it to the fixture's state.
        SystemStatus* status = SystemStatus::sharedInstance();
        status->snapshotOfUptime();
        status->snapshotOfLoadAvg();
        status->snapshotOfWho();
        ui::DelayedPerform::setTimer(&timer);
        ioreg::Registry::install(registry);
        auto manager = std::make_unique<FakeLocationManager>();
        location = manager.get();
        locationController = std::make_unique<LocationController>(std::move(manager));
        LocationController::setSharedInstanceForTesting(locationController.get());
        UIDevice_Network::refresh();
    }
    void TearDown() override {
        LocationController::setSharedInstanceForTesting(nullptr);
        locationController.reset();
        ioreg::Registry::install(std::make_shared<ioreg::FixtureBackend>());
        ui::DelayedPerform::setTimer(nullptr);
    }

    // The rows of the section under `header`, as the text rendering gives them.
    static QString section(SystemStatusViewController& screen, const QString& header) {
        const QString text = screen.tableView()->renderText();
        const qsizetype start = text.indexOf("-- " + header + "\n");
        if (start < 0) {
            return {};
        }
        const qsizetype body = start + header.size() + 4;
        const qsizetype end = text.indexOf("\n-- ", body - 1);
        return text.mid(body, end < 0 ? -1 : end + 1 - body);
    }

    void addBattery(const QString& serviceClass, ioreg::Value::Entries properties) {
        registry->addService(ioreg::Service{serviceClass, std::move(properties)});
    }

    SystemFixture kernel;
    testenv::ManualTimer timer;
    std::shared_ptr<ioreg::FixtureBackend> registry = std::make_shared<ioreg::FixtureBackend>();
    FakeLocationManager* location = nullptr;
    std::unique_ptr<LocationController> locationController;
};

// The averages through the shared formatter's rule: the locale's separator and digits.
TEST_F(SystemStatusViewControllerTest, LoadAveragesInTheUsersLocale) {
    const std::pair<QLocale, QStringList> cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), {"1,50", "0,25", "0,00"}},
        {QLocale(QLocale::Arabic, QLocale::Egypt), {"١٫٥٠", "٠٫٢٥", "٠٫٠٠"}}};
    for (const auto& [locale, averages] : cases) {
        testenv::ScopedLocale userLocale(locale);
        SystemStatusViewController screen;
        screen.view();
        const QString text = screen.tableView()->renderText();
        EXPECT_TRUE(text.contains("1 minute\t" + averages[0] + "\n5 minutes\t" + averages[1] +
                                  "\n15 minutes\t" + averages[2] + "\n"))
            << locale.name().toStdString() << ":\n"
            << text.toStdString();
    }
}

TEST_F(SystemStatusViewControllerTest, RefreshTakesNewSnapshotsOfAllThree) {
    SystemStatusViewController screen;
    screen.view();
    kernel.bootedSecondsAgo(90000);
    kernel.setLoad(2048, 2048, 2048);
    kernel.setUsers({"mobile", "root"}, 86400);
    screen.refreshAction();
    EXPECT_EQ(section(screen, "Uptime"), "Up for\t1 day, 1 hour, 30 secs\n");
    EXPECT_EQ(section(screen, "Load Average"),
              "1 minute\t1.00\n5 minutes\t1.00\n15 minutes\t1.00\n");
    EXPECT_EQ(section(screen, "Logged-in Users"), "mobile\t1days\nroot\t1days\n");
}

// Names come from the login records as bytes: each stays on its row, and no byte reaches a
// terminal raw or goes missing.
TEST_F(SystemStatusViewControllerTest, HostileUserNamesStayOnTheirRowsAndShowTheirBytes) {
    SystemStatusViewController screen;
    screen.view();
    kernel.setUsers({"\x1b[8m", "two\nlines", "tab\tuser", "caf\xe9"}, 86400);
    screen.refreshAction();
    EXPECT_EQ(section(screen, "Logged-in Users"), "\\x1b[8m\t1days\n"
                                                  "two\\nlines\t1days\n"
                                                  "tab\\tuser\t1days\n"
                                                  "caf\\xe9\t1days\n");
    const QJsonArray users = screen.tableView()->renderJson()["sections"][3]["rows"].toArray();
    EXPECT_EQ(users[1].toVariant().toStringList(), QStringList({"two\nlines", "1days"}));
    EXPECT_EQ(users[3].toVariant().toStringList(), QStringList({"caf\\xe9", "1days"}));
}

// What `ormel --dump system --json` prints under its "screen" and "title"; docs/JSON.md.
TEST_F(SystemStatusViewControllerTest, GoldenJsonHasTheTextsSections) {
    SystemStatusViewController screen;
    screen.view();
    const QJsonObject json = screen.tableView()->renderJson();
    QJsonArray firstSections;
    for (int section = 0; section < 6; ++section) {
        firstSections.append(json["sections"][section]);
    }
    EXPECT_EQ(QString::fromUtf8(QJsonDocument(firstSections).toJson(QJsonDocument::Compact)),
              R"([{"rows":[["Up for"," 1:01:31"]],"title":"Uptime"},)"
              R"({"rows":[["1 minute","1.50"],["5 minutes","0.25"],["15 minutes","0.00"]],)"
              R"("title":"Load Average"},)"
              R"({"rows":[["MAC Address",""]],"title":"Network"},)"
              R"({"rows":[["No one is logged in","--:--:--"]],"title":"Logged-in Users"},)"
              R"({"rows":[["","Scanning…"]],"title":"Location"},)"
              R"({"rows":[["","No accelerometer"]],"title":"Accelerometer"}])");
    EXPECT_EQ(textOfTableJson(json), screen.tableView()->renderText());
}

TEST(SystemStatusTexts, SizesAndFrequenciesShowWholeAndWhatTheKernelLacksAsUnknown) {
    using Screen = SystemStatusViewController;
    EXPECT_EQ(Screen::megabytesText(134217728), "128 MBytes");
    EXPECT_EQ(Screen::megabytesText(int64_t{16} << 30), "16384 MBytes"); // past 2^31
    EXPECT_EQ(Screen::megabytesText(std::nullopt), "Unknown");
    EXPECT_EQ(Screen::megahertzText(412000000), "412 MHz");
    EXPECT_EQ(Screen::megahertzText(int64_t{3'600'000'000}), "3600 MHz");
    // No bus frequency is no "0 MHz" bus.
    EXPECT_EQ(Screen::megahertzText(std::nullopt), "Unknown");
    EXPECT_EQ(Screen::megahertzText(0), "Unknown");
    EXPECT_EQ(Screen::integerText(-1), "Unknown");
    EXPECT_EQ(Screen::integerText(8), "8");
    EXPECT_EQ(Screen::bytesText(32768), "32768 Bytes");
    EXPECT_EQ(Screen::bytesText(-1), "Unknown");
}

TEST(SystemStatusTexts, BatteryChargeColoursTurnAtTenAndTwentyPercent) {
    const ui::Color red{0.7, 0, 0, 1}, yellow{0.7, 0.7, 0, 1}, green{0, 0.7, 0, 1};
    const std::pair<int, ui::Color> cases[] = {{0, red},     {10, red},   {11, yellow},
                                               {20, yellow}, {21, green}, {100, green}};
    for (const auto& [percent, colour] : cases) {
        EXPECT_EQ(SystemStatusViewController::batteryColorOf(percent), colour) << percent;
    }
}

// A handheld with every value its kernel and registry give: the rows in their order,
// sizes past 2^31 read whole, the bus frequency it lacks as unknown.
TEST_F(SystemStatusViewControllerTest, AHandheldShowsEverySectionFromItsKernelAndRegistry) {
    using namespace darwin;
    darwin::FixtureBackend& backend = *kernel.backend;
    backend.setSysctl({CTL_HW, HW_MACHINE}, SystemFixture::nodeText("iPhone2,1"));
    backend.setSysctl({CTL_HW, HW_MODEL}, SystemFixture::nodeText("N88AP"));
    const std::pair<int, int32_t> integers[] = {
        {HW_NCPU, 1},       {HW_BYTEORDER, 1234},     {HW_PAGESIZE, 4096},
        {HW_CACHELINE, 64}, {HW_L1ICACHESIZE, 32768}, {HW_L1DCACHESIZE, 32768}};
    for (const auto& [node, value] : integers) {
        backend.setSysctl({CTL_HW, node}, SystemFixture::nodeInt32(value));
    }
    backend.setSysctlInteger64({CTL_HW, HW_PHYSMEM}, int64_t{6} << 30);
    backend.setSysctlInteger64({CTL_HW, HW_USERMEM}, 134217728);
    backend.setSysctlInteger64({CTL_HW, HW_CPU_FREQ}, 412000000);
    backend.setSysctlByName("hw.optional.floatingpoint", SystemFixture::nodeInt32(1));
    backend.setSysctl({CTL_KERN, KERN_OSTYPE}, SystemFixture::nodeText("Darwin"));
    backend.setSysctl({CTL_KERN, KERN_OSRELEASE}, SystemFixture::nodeText("10.0.0d3"));
    backend.setSysctl({CTL_KERN, KERN_OSREV}, SystemFixture::nodeInt32(199506));
    backend.setSysctl({CTL_KERN, KERN_OSVERSION}, SystemFixture::nodeText("7A341"));
    backend.setSysctl({CTL_KERN, KERN_HOSTNAME}, SystemFixture::nodeText("phone"));
    networkbuffers::TypicalHost::install(backend);
    UIDevice_Network::refresh();
    registry->addService(
        ioreg::Service{"IOPlatformExpertDevice",
                       {{"compatible", ioreg::Value::data(QByteArray("N88AP\0iPhone2,1\0", 16))},
                        {"IOPlatformSerialNumber", ioreg::Value::string("88011ABC3NP")}}});
    addBattery("AppleD1755PMUPowerSource", {{"CurrentCapacity", ioreg::Value::number(1234)},
                                            {"MaxCapacity", ioreg::Value::number(1400)},
                                            {"Serial", ioreg::Value::string("B1234")}});
    registry->addService(ioreg::Service{"IO80211Interface",
                                        {{"IO80211SSID", ioreg::Value::string("home")},
                                         {"IO80211Channel", ioreg::Value::number(6)}}});
    registry->addService(
        ioreg::Service{"IOFlashStorageDevice",
                       {{"device_type", ioreg::Value::data(QByteArray("nand\0", 5))},
                        {"#page-bytes", ioreg::Value::number(2048)}}});

    SystemStatusViewController screen;
    screen.view();
    EXPECT_EQ(section(screen, "Battery"), "Serial\tB1234\nCharge\t88\n");
    EXPECT_EQ(section(screen, "Network"), "MAC Address\t00:11:22:33:44:55\n"
                                          "Address\t192.168.1.20\n"
                                          "Netmask\t255.255.255.0\n"
                                          "Broadcast\t192.168.1.255\n"
                                          "IPv6 Address\tfe80::0211:22ff:fe33:4455/64\n"
                                          "Wi-Fi Network\thome\n"
                                          "Wi-Fi Channel\t6\n");
    EXPECT_EQ(section(screen, "Flash Storage"), "Type\tnand\nBytes per Page\t2048\n");
    EXPECT_TRUE(section(screen, "Device")
                    .endsWith("Serial Number\t88011ABC3NP\nBoard\tN88AP\nMachine Class\tiPhone2,1\n"
                              "Product\tiPhone 3GS\nProcessor\t\n"))
        << section(screen, "Device").toStdString();
    EXPECT_EQ(section(screen, "Kernel"), "Type\tDarwin\nRelease\t10.0.0d3\nRevision\t199506\n"
                                         "Build\t7A341\nHost Name\tphone\n"
                                         "Booted\t2023-11-14 21:12:19 +0000\n");
    EXPECT_EQ(section(screen, "Hardware"), "Machine\tiPhone2,1\n"
                                           "Model\tN88AP\n"
                                           "Processors\t1\n"
                                           "Byte Order\t1234\n"
                                           "Physical Memory\t6144 MBytes\n"
                                           "User Memory\t128 MBytes\n"
                                           "Page Size\t4096\n"
                                           "Floating Point\tYES\n"
                                           "Bus Frequency\tUnknown\n"
                                           "CPU Frequency\t412 MHz\n"
                                           "Cache Line\t64 Bytes\n"
                                           "L1 I-Cache\t32768 Bytes\n"
                                           "L1 D-Cache\t32768 Bytes\n");
}

TEST_F(SystemStatusViewControllerTest, TheChargeTextFollowsTheChargingFlagsAndItsColourTheCharge) {
    const struct {
        std::optional<bool> charging;
        bool full;
        int current;
        const char* shown;
        ui::Color colour;
    } cases[] = {
        {std::nullopt, false, 1234, "88", {0, 0.7, 0, 1}},
        {true, false, 1234, "88% (charging)", {0, 0.7, 0, 1}},
        {false, true, 1400, "100% (full)", {0, 0.7, 0, 1}},
        {false, false, 140, "10% (on battery)", {0.7, 0, 0, 1}},
        {false, false, 280, "20% (on battery)", {0.7, 0.7, 0, 1}},
    };
    for (const auto& c : cases) {
        registry = std::make_shared<ioreg::FixtureBackend>();
        ioreg::Registry::install(registry);
        ioreg::Value::Entries battery{{"CurrentCapacity", ioreg::Value::number(c.current)},
                                      {"MaxCapacity", ioreg::Value::number(1400)},
                                      {"FullyCharged", ioreg::Value::boolean(c.full)}};
        if (c.charging) {
            battery.emplace_back("IsCharging", ioreg::Value::boolean(*c.charging));
        }
        addBattery(services::PlatformProfile::kLinuxBatteryServiceClass, battery);
        SystemStatusViewController screen;
        screen.view();
        EXPECT_EQ(section(screen, "Battery"), QString("Charge\t") + c.shown + "\n");
        EXPECT_EQ(screen.batteryColor(), c.colour) << c.shown;
        auto* cell = static_cast<SystemStatusTableCell*>(screen.tableViewCellForRowAtIndexPath(
            screen.tableView(), {SystemStatusViewController::BatterySection, 0}));
        EXPECT_EQ(cell->value()->textColor(), c.colour) << c.shown;
    }
}

// A laptop that moved to another network shows its new address after a refresh, and a
// modem's IMEI that came after the view loaded shows then too.
TEST_F(SystemStatusViewControllerTest, RefreshReadsTheNetworkAndTheDeviceAgain) {
    networkbuffers::TypicalHost::install(*kernel.backend);
    UIDevice_Network::refresh();
    SystemStatusViewController screen;
    screen.view();
    EXPECT_TRUE(section(screen, "Network").contains("Address\t192.168.1.20\n"));
    auto moved = networkbuffers::TypicalHost::interfaceAddresses();
    moved[1].addr = networkbuffers::sockaddrIn({10, 0, 0, 7});
    kernel.backend->setInterfaceAddresses(moved);
    EXPECT_FALSE(section(screen, "Device").contains("IMEI"));
    registry->setDeviceTreeProperty("device-imei",
                                    ioreg::Value::data(QByteArray("012345678901234\0", 16)));
    screen.refreshAction();
    EXPECT_TRUE(section(screen, "Network").contains("Address\t10.0.0.7\n"))
        << section(screen, "Network").toStdString();
    EXPECT_TRUE(section(screen, "Device").contains("IMEI\t012345678901234\n"));
}

TEST_F(SystemStatusViewControllerTest, LocationRowsScanThenShowTheReadingWhichOpensTheMap) {
    SystemStatusViewController screen;
    screen.view();
    EXPECT_EQ(section(screen, "Location"), "\tScanning…\n");
    location->send({35.5, 139.75, 40, 3, 8, QDateTime::currentDateTimeUtc()});
    EXPECT_EQ(section(screen, "Location"), "\tScanning…\n") << "the scan reports once, at its end";
    timer.advanceBy(static_cast<int>(LocationController::kScanSeconds * 1000));
    testenv::flushEvents();
    EXPECT_EQ(section(screen, "Location"), "Latitude\tN 35° 30′ 0.00″\n"
                                           "Longitude\tE 139° 45′ 0.00″\n"
                                           "H. accuracy\t3.00 [m]\n"
                                           "Altitude\t40.00 m above sea level\n"
                                           "V. accuracy\t8.00 [m]\n");
    screen.tableView()->tapRowAtIndexPath({SystemStatusViewController::LocationSection, 0});
    auto* stack = qobject_cast<ui::NavigationController*>(screen.modalViewController());
    ASSERT_NE(stack, nullptr);
    auto* map = dynamic_cast<MapViewController*>(stack->topViewController());
    ASSERT_NE(map, nullptr);
    EXPECT_NEAR(map->mapPin()->coordinate().latitude, 35.5, 1e-9);

    // A refresh scans again; a service that is off says so in one row.
    screen.refreshAction();
    EXPECT_EQ(section(screen, "Location"), "\tScanning…\n");
    LocationController off(std::make_unique<FakeLocationManager>(false));
    LocationController::setSharedInstanceForTesting(&off);
    SystemStatusViewController withoutService;
    withoutService.view();
    EXPECT_EQ(section(withoutService, "Location"), "\tLocation services are off\n");
}

TEST_F(SystemStatusViewControllerTest, AccelerationShowsInUnitsOfGravityOrSaysThereIsNone) {
    {
        SystemStatusViewController screen;
        screen.view();
        EXPECT_EQ(section(screen, "Accelerometer"), "\tNo accelerometer\n");
    }
    services::Accelerometer* before = services::Accelerometer::sharedAccelerometer();
    FakeAccelerometer accelerometer;
    services::Accelerometer::setSharedForTesting(&accelerometer);
    {
        SystemStatusViewController screen;
        screen.view();
        EXPECT_EQ(accelerometer.interval, 1.0);
        EXPECT_EQ(section(screen, "Accelerometer"), "X\t0.00\nY\t0.00\nZ\t0.00\n");
        accelerometer.send({0.5, -1, 0.254});
        EXPECT_EQ(section(screen, "Accelerometer"), "X\t0.50\nY\t-1.00\nZ\t0.25\n");
    }
    services::Accelerometer::setSharedForTesting(before);
}

} // namespace
