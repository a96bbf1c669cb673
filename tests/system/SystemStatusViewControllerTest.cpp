#include "system/SystemStatusViewController.h"
#include "platform/ui/TableView.h"
#include "support/ScopedLocale.h"
#include "support/SystemFixture.h"
#include "system/SystemStatus.h"

#include "support/QtPrinters.h"
#include "support/TableJson.h"

#include <gtest/gtest.h>

namespace {

class SystemStatusViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The shared snapshot outlives each test: bring it to the fixture's state.
        SystemStatus* status = SystemStatus::sharedInstance();
        status->snapshotOfUptime();
        status->snapshotOfLoadAvg();
        status->snapshotOfWho();
    }

    SystemFixture kernel;
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
    EXPECT_EQ(screen.tableView()->renderText(), "-- Uptime\n"
                                                "Up for\t1 day, 1 hour, 30 secs\n"
                                                "-- Load Average\n"
                                                "1 minute\t1.00\n"
                                                "5 minutes\t1.00\n"
                                                "15 minutes\t1.00\n"
                                                "-- Logged-in Users\n"
                                                "mobile\t1days\n"
                                                "root\t1days\n");
}

// Names come from the login records as bytes: each stays on its row, and no byte reaches a
// terminal raw or goes missing.
TEST_F(SystemStatusViewControllerTest, HostileUserNamesStayOnTheirRowsAndShowTheirBytes) {
    SystemStatusViewController screen;
    screen.view();
    kernel.setUsers({"\x1b[8m", "two\nlines", "tab\tuser", "caf\xe9"}, 86400);
    screen.refreshAction();
    EXPECT_TRUE(screen.tableView()->renderText().endsWith("-- Logged-in Users\n"
                                                          "\\x1b[8m\t1days\n"
                                                          "two\\nlines\t1days\n"
                                                          "tab\\tuser\t1days\n"
                                                          "caf\\xe9\t1days\n"))
        << screen.tableView()->renderText().toStdString();
    const QJsonArray users = screen.tableView()->renderJson()["sections"][2]["rows"].toArray();
    EXPECT_EQ(users[1].toVariant().toStringList(), QStringList({"two\nlines", "1days"}));
    EXPECT_EQ(users[3].toVariant().toStringList(), QStringList({"caf\\xe9", "1days"}));
}

// What `ormel --dump system --json` prints under its "screen" and "title"; docs/JSON.md.
TEST_F(SystemStatusViewControllerTest, GoldenJsonHasTheTextsSections) {
    SystemStatusViewController screen;
    screen.view();
    const QJsonObject json = screen.tableView()->renderJson();
    EXPECT_EQ(QJsonDocument(json).toJson(QJsonDocument::Compact),
              R"({"sections":[)"
              R"({"rows":[["Up for"," 1:01:31"]],"title":"Uptime"},)"
              R"({"rows":[["1 minute","1.50"],["5 minutes","0.25"],["15 minutes","0.00"]],)"
              R"("title":"Load Average"},)"
              R"({"rows":[["No one is logged in","--:--:--"]],"title":"Logged-in Users"}]})");
    EXPECT_EQ(textOfTableJson(json), screen.tableView()->renderText());
}

} // namespace
