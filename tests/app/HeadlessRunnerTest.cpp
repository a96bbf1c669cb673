#include "app/HeadlessRunner.h"
#include "app/AppController.h"
#include "platform/services/NetworkReachability.h"
#include "registry/TarnelDB.h"
#include "support/SystemFixture.h"
#include "support/TestEnvironment.h"
#include "system/SystemStatus.h"

#include <QImage>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Kind = HeadlessRequest::Kind;

TEST(HeadlessRunnerParse, ChoosesTheModeFromTheArguments) {
    EXPECT_EQ(HeadlessRunner::parse({}).kind, Kind::Gui);
    EXPECT_EQ(HeadlessRunner::parse({"--help"}).kind, Kind::Help);
    EXPECT_EQ(HeadlessRunner::parse({"--version"}).kind, Kind::Version);
    const HeadlessRequest dump = HeadlessRunner::parse({"--dump", "memory"});
    EXPECT_EQ(dump.kind, Kind::Dump);
    EXPECT_EQ(dump.argument, "memory");
    const HeadlessRequest detail = HeadlessRunner::parse({"--dump", "process/42"});
    EXPECT_EQ(detail.kind, Kind::Dump);
    EXPECT_EQ(detail.argument, "process/42");
    EXPECT_TRUE(HeadlessRunner::usage().contains("process/PID"));
    const HeadlessRequest lookup = HeadlessRunner::parse({"--lookup", "8.8.8.8", "x"});
    EXPECT_EQ(lookup.kind, Kind::Lookup);
    EXPECT_EQ(lookup.addresses, QStringList({"8.8.8.8", "x"}));
    const HeadlessRequest shots = HeadlessRunner::parse({"--screenshot", "/tmp/x"});
    EXPECT_EQ(shots.kind, Kind::Screenshot);
    EXPECT_EQ(shots.argument, "/tmp/x");
}

TEST(HeadlessRunnerParse, RefusesBadArgumentsWithAReason) {
    for (const QStringList& arguments :
         {QStringList{"--dump"}, QStringList{"--lookup"}, QStringList{"--dump", "battery"},
          QStringList{"--frobnicate"}, QStringList{"--screenshot", ""},
          QStringList{"--dump", "system", "extra"}, QStringList{"--dump", "process/"},
          QStringList{"--dump", "process/0"}, QStringList{"--dump", "process/-3"},
          QStringList{"--dump", "process/12x"}, QStringList{"--dump", "process/+12"},
          QStringList{"--dump", "system/12"}}) {
        const HeadlessRequest request = HeadlessRunner::parse(arguments);
        EXPECT_EQ(request.kind, Kind::Invalid) << arguments.join(' ').toStdString();
        EXPECT_FALSE(request.error.isEmpty());
    }
}

class HeadlessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        services::NetworkReachability::setPathSource([] { return services::NetworkPath{}; });
        SystemStatus::sharedInstance()->snapshotOfUptime();
        SystemStatus::sharedInstance()->snapshotOfLoadAvg();
        SystemStatus::sharedInstance()->snapshotOfWho();
        controller = std::make_unique<AppController>(AppStores{});
        ui::Application::sharedApplication()->setDelegate(controller.get());
        controller->applicationDidFinishLaunchingWithOptions(ui::Application::sharedApplication(),
                                                             {});
    }
    void TearDown() override {
        controller->applicationWillTerminate(ui::Application::sharedApplication());
        ui::Application::sharedApplication()->setDelegate(nullptr);
        services::NetworkReachability::setPathSource({});
    }

    SystemFixture kernel;
    std::unique_ptr<AppController> controller;
};

TEST_F(HeadlessRunnerTest, DumpsAScreenOrOneProcessUnderItsTitle) {
    darwin::KinfoProc launchd;
    launchd.pid = 1;
    launchd.comm = "launchd";
    launchd.stat = darwin::SSLEEP;
    launchd.starttime.sec = static_cast<int32_t>(SystemFixture::kNow - 60);
    kernel.backend->setUserName(0, "root");
    kernel.backend->setProcessTable({launchd});

    QString text;
    QString error;
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*controller, "system", &text, &error))
        << error.toStdString();
    EXPECT_TRUE(text.startsWith("== System Status\n-- Uptime\nUp for\t 1:01:31\n"))
        << text.toStdString();
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*controller, "disk", &text, &error));
    EXPECT_EQ(text, "== Disk Status\n");
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*controller, "process", &text, &error));
    EXPECT_EQ(text, "== Processes\n-- Main Applications\n-- User Processes\n-- Other Processes\n"
                    "launchd\troot\t1 min, \tPID: 1\tPPID: 0\n");
    for (int twice = 0; twice < 2; ++twice) { // the second finds the list again
        ASSERT_TRUE(HeadlessRunner::dumpScreen(*controller, "process/1", &text, &error))
            << error.toStdString();
        EXPECT_TRUE(text.startsWith("== Process Details\n--\nCommand\tlaunchd\nUser\troot (0)\n"))
            << text.toStdString();
    }
    EXPECT_FALSE(HeadlessRunner::dumpScreen(*controller, "process/2", &text, &error));
    EXPECT_EQ(error, "no process with pid 2");
    EXPECT_FALSE(HeadlessRunner::dumpScreen(*controller, "nowhere", &text, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(HeadlessRunnerTest, WritesOneScreenshotPerTab) {
    const QString folder = testenv::makeTempDir("shots");
    QStringList written;
    QString error;
    ASSERT_TRUE(HeadlessRunner::writeScreenshots(*controller, folder, &written, &error))
        << error.toStdString();
    ASSERT_EQ(written.size(), 5);
    EXPECT_TRUE(written[0].endsWith("/1-system.png"));
    EXPECT_TRUE(written[4].endsWith("/5-network.png"));
    QImage first(written[0]);
    QImage second(written[1]);
    ASSERT_FALSE(first.isNull());
    EXPECT_GE(first.width(), 320);
    EXPECT_GE(first.height(), 480);
    EXPECT_NE(first, second); // each shows its own tab
}

// Addresses drawn from the registries' statistics files, one per registry:
// "afrinic|ZA|ipv4|41.0.0.0|2097152|20071126|allocated", "apnic|JP|ipv4|1.0.16.0|
// 4096|20110412|allocated", "arin|US|ipv4|3.0.0.0|16777216|19880223|assigned",
// "ripencc|NL|ipv4|193.0.0.0|4096|19930901|allocated" and
// "lacnic|BR|ipv4|45.4.240.0|1024|20170303|allocated".
TEST(TarnelDBLookupCommand, AgreesWithTheRegistryStatistics) {
    TarnelDB::sharedInstance()->updated();
    const QString lines = HeadlessRunner::lookupLines(
        {"41.0.0.1", "1.0.16.5", "3.0.0.9", "193.0.0.1", "45.4.243.255", "10.0.0.1", "no.address"});
    EXPECT_EQ(
        lines.split('\n'),
        QStringList(
            {"41.0.0.1\tZA\tSouth Africa, Republic Of\tAFRINIC\tAfrica Region\t41.0.0.0/11\t"
             "2007-11-26 (allocated)",
             "1.0.16.5\tJP\tJapan\tAPNIC\tAsia/Pacific Region\t1.0.16.0/20\t2011-04-12 (allocated)",
             "3.0.0.9\tUS\tAmerica, United States Of (USA)\tARIN\tNorth America Region\t3.0.0.0/8\t"
             "1988-02-23 (assigned)",
             "193.0.0.1\tNL\tNetherlands, Kingdom Of\tRIPE NCC\tEurope, the Middle East, and "
             "Central "
             "Asia\t193.0.0.0/20\t1993-09-01 (allocated)",
             "45.4.243.255\tBR\tBrazil, Federative Republic Of\tLACNIC\tLatin America and some "
             "Caribbean Islands\t45.4.240.0/22\t2017-03-03 (allocated)",
             "10.0.0.1", "no.address", ""}));
}

} // namespace
