#include "system/SystemStatus.h"
#include "support/SystemFixture.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

// Builds fresh instances, as the shared one is made only once per process.
struct SystemStatusTestAccess {
    static std::unique_ptr<SystemStatus> make() {
        return std::unique_ptr<SystemStatus>(new SystemStatus());
    }
};

namespace {

using darwin::FixtureBackend;
using darwin::UtmpxEntry;

const std::vector<int> kBootTime = {darwin::CTL_KERN, darwin::KERN_BOOTTIME};
const std::vector<int> kLoadAvg = {darwin::CTL_VM, darwin::VM_LOADAVG};

UtmpxEntry entry(const std::string& user, int16_t type, const std::string& line,
                 const std::string& host = "") {
    UtmpxEntry e;
    e.user = user;
    e.line = line;
    e.host = host;
    e.type = type;
    e.tv.sec = 1'699'990'000;
    return e;
}

TEST(SystemStatusFormat, UptimeAndIdleTexts) {
    const std::pair<long long, const char*> uptimes[] = {
        {0, ""},
        {1, "1 sec"},
        {45, "45 secs"},
        {60, "1 min, "},
        {61, "1 min, 31 secs"}, // above a minute, 30 seconds are added to round
        {3630, " 1:01"},
        {3661, " 1:01:31"},
        {90000, "1 day, 1 hour, 30 secs"},
        {2 * 86400 + 5 * 3600 + 12 * 60 + 29, "2 days,  5:12:59"},
        {3 * 86400 - 30, "3 days, "},
    };
    for (const auto& [seconds, text] : uptimes) {
        EXPECT_EQ(SystemStatus::stringWithUptime(seconds), text) << seconds;
    }
    const std::pair<long long, const char*> idles[] = {{0, "00:00:00"},
                                                       {3725, "01:02:05"},
                                                       {86399, "23:59:59"},
                                                       {86400, "1days"},
                                                       {3 * 86400 + 86399, "3days"}};
    for (const auto& [seconds, text] : idles) {
        EXPECT_EQ(SystemStatus::stringWithIdleTime(seconds), text) << seconds;
    }
}

TEST(SystemStatus, LoadAveragesAreUnsignedFixedPointOverTheScale) {
    SystemFixture kernel;
    kernel.setLoad(3072, 256, 0x80000000u);
    auto status = SystemStatusTestAccess::make();
    EXPECT_EQ(status->uptime(), " 1:01:31"); // booted 3661 seconds ago
    EXPECT_DOUBLE_EQ(status->loadavg(0), 1.5);
    EXPECT_DOUBLE_EQ(status->loadavg(1), 0.125);
    EXPECT_DOUBLE_EQ(status->loadavg(2), 1048576.0); // not negative
    EXPECT_EQ(status->loadavg(3), 0.0);
}

TEST(SystemStatus, FailedReadsKeepThePreviousValues) {
    SystemFixture kernel;
    kernel.backend->failSysctl(kBootTime, EINVAL);
    kernel.backend->failSysctl(kLoadAvg, EINVAL);
    auto status = SystemStatusTestAccess::make();
    EXPECT_TRUE(status->uptime().isEmpty());
    EXPECT_EQ(status->loadavg(0), 0.0);

    kernel.bootedSecondsAgo(45);
    kernel.setLoad(2048, 1024, 512);
    status->snapshotOfUptime();
    status->snapshotOfLoadAvg();
    kernel.backend->failSysctl(kBootTime, ENOMEM);
    kernel.backend->failSysctl(kLoadAvg, ENOMEM);
    status->snapshotOfUptime();
    status->snapshotOfLoadAvg();
    EXPECT_EQ(status->uptime(), "45 secs");
    EXPECT_DOUBLE_EQ(status->loadavg(1), 0.5);

    std::vector<unsigned char> noScale(darwin::loadavg32::Layout::kSize);
    darwin::loadavg32::Layout::encode({{4096, 4096, 4096}, 0}, noScale.data());
    kernel.backend->setSysctl(kLoadAvg, noScale);
    status->snapshotOfLoadAvg();
    EXPECT_DOUBLE_EQ(status->loadavg(1), 0.5) << "a reply without a scale is ignored";
}

// Field widths and cut names are the record layout's (tests/platform/darwin); here, which
// records are users and how idle they are.
TEST(SystemStatus, OnlyUserProcessRecordsAreLoggedInUsers) {
    SystemFixture kernel;
    std::vector<unsigned char> file = FixtureBackend::utmpxFile({
        entry("mobile", darwin::utmpx::USER_PROCESS, "ttys000"),
        entry("gone", darwin::utmpx::DEAD_PROCESS, "ttys001"),
        entry("LOGIN", darwin::utmpx::LOGIN_PROCESS, "tty1"),
        entry("", darwin::utmpx::USER_PROCESS, "ttys002"),
        entry("root", darwin::utmpx::USER_PROCESS, "ttys003", "10.0.0.2"),
        entry("nostat", darwin::utmpx::USER_PROCESS, "ttys009"),
        entry("future", darwin::utmpx::USER_PROCESS, "ttys010"),
        entry("cut", darwin::utmpx::USER_PROCESS, "ttys011"),
    });
    file.resize(file.size() - 1); // the last record is cut short
    kernel.backend->setFile(darwin::utmpx::kPath, file);
    kernel.backend->setStat("/dev/ttys000", SystemFixture::kNow - 86399);
    kernel.backend->setStat("/dev/ttys003", SystemFixture::kNow - 86400);
    kernel.backend->setStat("/dev/ttys010", SystemFixture::kNow + 500); // after a clock step
    auto status = SystemStatusTestAccess::make();
    QStringList rows;
    for (const LoginRecord& login : status->who()) {
        rows.append(QStringList{login.user, login.line, login.host, login.idle}.join(' '));
    }
    EXPECT_EQ(rows, QStringList({"mobile ttys000 - 23:59:59", "root ttys003 10.0.0.2 1days",
                                 "nostat ttys009 - 00:00:00", "future ttys010 - 00:00:00"}));
    EXPECT_EQ(status->who().value(0).loginTime,
              QDateTime::fromSecsSinceEpoch(1'699'990'000, Qt::UTC));

    kernel.backend->failFile(darwin::utmpx::kPath, EACCES);
    status->snapshotOfWho();
    EXPECT_TRUE(status->who().isEmpty()) << "an unreadable accounting file means no users";
}

} // namespace
