#include "app/HeadlessRunner.h"
#include "app/AppController.h"
#include "platform/services/NetworkReachability.h"
#include "registry/TarnelDB.h"
#include "support/SystemFixture.h"
#include "support/TestEnvironment.h"
#include "system/SystemStatus.h"
#include "tests/app/LaunchedApp.h"

#include <QImage>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Kind = HeadlessRequest::Kind;

TEST(HeadlessRunnerParse, ChoosesTheModeFromTheArguments) {
    EXPECT_EQ(HeadlessRunner::parse({}).kind, Kind::Gui);
    const HeadlessRequest dump =
        HeadlessRunner::parse(QList<QByteArray>{"--dump", "process/0", "--json"});
    EXPECT_EQ(dump.kind, Kind::Dump); // a pid that does not exist is no unknown screen
    EXPECT_EQ(dump.argument, "process/0");
    EXPECT_TRUE(dump.json);
    const HeadlessRequest lookup =
        HeadlessRunner::parse(QList<QByteArray>{"--lookup", "8.8.8.8", "x"});
    EXPECT_EQ(lookup.addresses, QStringList({"8.8.8.8", "x"}));
    EXPECT_EQ(HeadlessRunner::parse(QList<QByteArray>{"--lookup", "-"}).addresses,
              QStringList{"-"});
    EXPECT_FALSE(lookup.resolve);
    const HeadlessRequest resolved =
        HeadlessRunner::parse(QList<QByteArray>{"--resolve", "--lookup", "-"});
    EXPECT_EQ(resolved.kind, Kind::Lookup);
    EXPECT_TRUE(resolved.resolve);
    const HeadlessRequest shots = HeadlessRunner::parse(QList<QByteArray>{"--screenshot=/tmp/x%1"});
    EXPECT_EQ(shots.kind, Kind::Screenshot);
    EXPECT_EQ(shots.folder, "/tmp/x%1");
    const HeadlessRequest raw = HeadlessRunner::parse(QList<QByteArray>{"--screenshot", "d\xff"});
    EXPECT_EQ(raw.folder, "d\xff");
}

class HeadlessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override { app.launch(); }

    SystemFixture kernel;
    LaunchedApp app{kernel};
};

TEST_F(HeadlessRunnerTest, DumpsAScreenOrOneProcessUnderItsTitle) {

    QString text;
    QString error;
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*app.controller, "system", false, &text, &error))
        << error.toStdString();
    EXPECT_TRUE(text.startsWith("== System Status\n-- Uptime\nUp for\t 1:01:31\n"))
        << text.toStdString();
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*app.controller, "disk", false, &text, &error));
    EXPECT_EQ(text, "== Disk Status\n");
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*app.controller, "process", false, &text, &error));
    EXPECT_EQ(text, "== Processes\n-- Main Applications\n-- User Processes\n-- Other Processes\n"
                    "launchd\troot\t1 min, \tPID: 1\tPPID: 0\n");
    for (int twice = 0; twice < 2; ++twice) { // the second finds the list again
        ASSERT_TRUE(HeadlessRunner::dumpScreen(*app.controller, "process/1", false, &text, &error))
            << error.toStdString();
        EXPECT_TRUE(text.startsWith("== Process Details\n--\nCommand\tlaunchd\nUser\troot (0)\n"))
            << text.toStdString();
    }
    EXPECT_FALSE(HeadlessRunner::dumpScreen(*app.controller, "process/2", false, &text, &error));
    EXPECT_EQ(error, "no process with pid 2");
    EXPECT_FALSE(HeadlessRunner::dumpScreen(*app.controller, "nowhere", false, &text, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(HeadlessRunnerTest, WritesOneScreenshotPerTab) {
    const QString folder = testenv::makeTempDir("shots");
    QList<QByteArray> written;
    QString error;
    ASSERT_TRUE(HeadlessRunner::writeScreenshots(*app.controller, QFile::encodeName(folder),
                                                 &written, &error))
        << error.toStdString();
    ASSERT_EQ(written.size(), 5);
    EXPECT_TRUE(written[0].endsWith("/1-system.png"));
    EXPECT_TRUE(written[4].endsWith("/5-network.png"));
    QImage first(QFile::decodeName(written[0]));
    QImage second(QFile::decodeName(written[1]));
    ASSERT_FALSE(first.isNull());
    EXPECT_GE(first.width(), 320);
    EXPECT_GE(first.height(), 480);
    EXPECT_NE(first, second); // each shows its own tab
}

} // namespace
