#include "system/SystemStatus.h"
#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/fixture/FixtureBackend.h"

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

constexpr std::time_t kNow = 1'700'000'000;

std::vector<unsigned char> boottime(int32_t seconds) {
    std::vector<unsigned char> bytes(darwin::timeval32::Layout::kSize);
    darwin::timeval32::Layout::encode({seconds, 0}, bytes.data());
    return bytes;
}

std::vector<unsigned char> loadavg(uint32_t a, uint32_t b, uint32_t c, int32_t scale) {
    std::vector<unsigned char> bytes(darwin::loadavg32::Layout::kSize);
    darwin::loadavg32::Layout::encode({{a, b, c}, scale}, bytes.data());
    return bytes;
}

UtmpxEntry entry(const std::string& user, int16_t type, const std::string& line = "ttys000",
                 const std::string& host = "", int32_t when = 1'699'990'000) {
    UtmpxEntry e;
    e.user = user;
    e.line = line;
    e.host = host;
    e.type = type;
    e.tv.sec = when;
    return e;
}

class SystemStatusTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = std::make_shared<FixtureBackend>();
        backend->setTime(kNow);
        darwin::install(backend);
    }
    void TearDown() override { darwin::install(nullptr); }

    void bootedSecondsAgo(long long seconds) {
        backend->setSysctl({darwin::CTL_KERN, darwin::KERN_BOOTTIME},
                           boottime(static_cast<int32_t>(kNow - seconds)));
    }

    std::shared_ptr<FixtureBackend> backend;
};

TEST(SystemStatusFormat, UptimeTextsRoundAboveAMinute) {
    EXPECT_EQ(SystemStatus::stringWithUptime(0), "");
    EXPECT_EQ(SystemStatus::stringWithUptime(1), "1 sec");
    EXPECT_EQ(SystemStatus::stringWithUptime(45), "45 secs");
    EXPECT_EQ(SystemStatus::stringWithUptime(60), "1 min, ");
    EXPECT_EQ(SystemStatus::stringWithUptime(61), "1 min, 31 secs");
    EXPECT_EQ(SystemStatus::stringWithUptime(3661), " 1:01:31");
    EXPECT_EQ(SystemStatus::stringWithUptime(3630), " 1:01");
    EXPECT_EQ(SystemStatus::stringWithUptime(90000), "1 day, 1 hour, 30 secs");
    EXPECT_EQ(SystemStatus::stringWithUptime(2 * 86400 + 5 * 3600 + 12 * 60 + 29),
              "2 days,  5:12:59");
    EXPECT_EQ(SystemStatus::stringWithUptime(3 * 86400 - 30), "3 days, ");
}

TEST(SystemStatusFormat, IdleTextsSwitchToDaysAfter23h59m59s) {
    EXPECT_EQ(SystemStatus::stringWithIdleTime(0), "00:00:00");
    EXPECT_EQ(SystemStatus::stringWithIdleTime(3725), "01:02:05");
    EXPECT_EQ(SystemStatus::stringWithIdleTime(86399), "23:59:59");
    EXPECT_EQ(SystemStatus::stringWithIdleTime(86400), "1days");
    EXPECT_EQ(SystemStatus::stringWithIdleTime(3 * 86400 + 86399), "3days");
}

TEST_F(SystemStatusTest, UptimeComesFromTheBootTime) {
    bootedSecondsAgo(3661);
    auto status = SystemStatusTestAccess::make();
    EXPECT_EQ(status->uptime(), " 1:01:31");
}

TEST_F(SystemStatusTest, FailedReadsKeepThePreviousValues) {
    backend->failSysctl({darwin::CTL_KERN, darwin::KERN_BOOTTIME}, EINVAL);
    backend->failSysctl({darwin::CTL_VM, darwin::VM_LOADAVG}, EINVAL);
    auto status = SystemStatusTestAccess::make();
    EXPECT_TRUE(status->uptime().isEmpty());
    EXPECT_EQ(status->loadavg(0), 0.0);

    bootedSecondsAgo(45);
    backend->setSysctl({darwin::CTL_VM, darwin::VM_LOADAVG}, loadavg(2048, 1024, 512, 2048));
    status->snapshotOfUptime();
    status->snapshotOfLoadAvg();
    backend->failSysctl({darwin::CTL_KERN, darwin::KERN_BOOTTIME}, ENOMEM);
    backend->failSysctl({darwin::CTL_VM, darwin::VM_LOADAVG}, ENOMEM);
    status->snapshotOfUptime();
    status->snapshotOfLoadAvg();
    EXPECT_EQ(status->uptime(), "45 secs");
    EXPECT_DOUBLE_EQ(status->loadavg(1), 0.5);
}

TEST_F(SystemStatusTest, LoadAveragesAreFixedPointOverTheScale) {
    backend->setSysctl({darwin::CTL_VM, darwin::VM_LOADAVG}, loadavg(3072, 256, 0x80000000u, 2048));
    auto status = SystemStatusTestAccess::make();
    EXPECT_DOUBLE_EQ(status->loadavg(0), 1.5);
    EXPECT_DOUBLE_EQ(status->loadavg(1), 0.125);
    EXPECT_DOUBLE_EQ(status->loadavg(2), 1048576.0); // unsigned, not negative
    EXPECT_EQ(status->loadavg(3), 0.0);
    EXPECT_EQ(status->loadavg(1000), 0.0);
}

TEST_F(SystemStatusTest, ALoadReplyWithoutScaleIsIgnored) {
    backend->setSysctl({darwin::CTL_VM, darwin::VM_LOADAVG}, loadavg(3072, 256, 1, 0));
    auto status = SystemStatusTestAccess::make();
    EXPECT_EQ(status->loadavg(0), 0.0);
}

TEST_F(SystemStatusTest, OnlyUserProcessRecordsAreLoggedInUsers) {
    backend->setFile(darwin::utmpx::kPath,
                     FixtureBackend::utmpxFile({
                         entry("mobile", darwin::utmpx::USER_PROCESS, "ttys000", ""),
                         entry("gone", darwin::utmpx::DEAD_PROCESS, "ttys001"),
                         entry("LOGIN", darwin::utmpx::LOGIN_PROCESS, "tty1"),
                         entry("", darwin::utmpx::USER_PROCESS, "ttys002"),
                         entry("root", darwin::utmpx::USER_PROCESS, "ttys003", "10.0.0.2"),
                     }));
    backend->setStat("/dev/ttys000", kNow - 86399);
    backend->setStat("/dev/ttys003", kNow - 86400);
    auto status = SystemStatusTestAccess::make();
    ASSERT_EQ(status->who().size(), 2);
    const LoginRecord& mobile = status->who()[0];
    EXPECT_EQ(mobile.user, "mobile");
    EXPECT_EQ(mobile.line, "ttys000");
    EXPECT_EQ(mobile.host, "-");
    EXPECT_EQ(mobile.idle, "23:59:59");
    EXPECT_EQ(mobile.loginTime, QDateTime::fromSecsSinceEpoch(1'699'990'000, Qt::UTC));
    EXPECT_EQ(status->who()[1].user, "root");
    EXPECT_EQ(status->who()[1].host, "10.0.0.2");
    EXPECT_EQ(status->who()[1].idle, "1days");
}

TEST_F(SystemStatusTest, UnexaminableTerminalsAndFutureTimesAreNotIdle) {
    backend->setFile(darwin::utmpx::kPath, FixtureBackend::utmpxFile({
                                               entry("a", darwin::utmpx::USER_PROCESS, "ttys009"),
                                               entry("b", darwin::utmpx::USER_PROCESS, "ttys010"),
                                           }));
    backend->setStat("/dev/ttys010", kNow + 500);
    auto status = SystemStatusTestAccess::make();
    ASSERT_EQ(status->who().size(), 2);
    EXPECT_EQ(status->who()[0].idle, "00:00:00");
    EXPECT_EQ(status->who()[1].idle, "00:00:00");
}

TEST_F(SystemStatusTest, FullWidthFieldsAndAPartialTrailingRecord) {
    const std::string longUser(256, 'u');
    const std::string longLine(32, 'l');
    const std::string longHost(256, 'h');
    std::vector<unsigned char> file =
        FixtureBackend::utmpxFile({entry(longUser, darwin::utmpx::USER_PROCESS, longLine, longHost),
                                   entry("second", darwin::utmpx::USER_PROCESS)});
    file.resize(file.size() - 1); // the second record is cut short
    backend->setFile(darwin::utmpx::kPath, file);
    auto status = SystemStatusTestAccess::make();
    ASSERT_EQ(status->who().size(), 1);
    EXPECT_EQ(status->who()[0].user, QString::fromStdString(longUser));
    EXPECT_EQ(status->who()[0].line, QString::fromStdString(longLine));
    EXPECT_EQ(status->who()[0].host, QString::fromStdString(longHost));
}

TEST_F(SystemStatusTest, AMissingAccountingFileMeansNoUsers) {
    backend->setFile(darwin::utmpx::kPath,
                     FixtureBackend::utmpxFile({entry("mobile", darwin::utmpx::USER_PROCESS)}));
    auto status = SystemStatusTestAccess::make();
    ASSERT_EQ(status->who().size(), 1);
    backend->failFile(darwin::utmpx::kPath, EACCES);
    status->snapshotOfWho();
    EXPECT_TRUE(status->who().isEmpty());
}

} // namespace
