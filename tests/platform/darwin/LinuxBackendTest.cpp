#include "BackendReads.h"
#include "HostUtmpWriter.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "platform/darwin/linux/LogindSessions.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

using namespace darwin;
using namespace backendreads;
namespace fs = std::filesystem;

namespace {

const std::string kHost256(256, 'h');
const std::string kLine32(32, 'L');

std::string tempRoot(const char* prefix) {
    return testenv::makeTempDir(prefix).toStdString();
}

// The records after the signature record, which must come first.
std::vector<UtmpxEntry> accountingEntries(Backend& backend) {
    const std::optional<Bytes> file = fileContent(backend, utmpx::kPath);
    if (!file || file->empty() || file->size() % utmpx::Layout::kSize != 0) {
        ADD_FAILURE() << "no accounting file of whole records";
        return {};
    }
    EXPECT_EQ(utmpx::Layout::decode(file->data()), utmpxSignatureEntry());
    std::vector<UtmpxEntry> entries;
    for (size_t at = utmpx::Layout::kSize; at < file->size(); at += utmpx::Layout::kSize) {
        entries.push_back(utmpx::Layout::decode(file->data() + at));
    }
    return entries;
}

UtmpxEntry entry(int16_t type, std::string user, std::string id, std::string line, std::string host,
                 int32_t pid, int32_t tvSec, int32_t tvUsec = 0) {
    return UtmpxEntry{std::move(user), std::move(id), std::move(line), std::move(host), pid, type,
                      {tvSec, tvUsec}};
}

// A copy of linux-root-utmp in which each test writes its own run/utmp.
class UtmpRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(testenv::fixturePath("linux-root-utmp").toStdString(), root,
                 fs::copy_options::recursive);
        fs::create_directories(root + "/run");
    }

    std::string root = tempRoot("linux-root-utmp");
};

} // namespace

// The payloads at the offsets of darwin-abi.md: timeval {tv_sec @0, tv_usec @4}, loadavg
// {ldavg[3] @0/4/8, fscale @12}.
TEST_F(UtmpRootTest, BootTimeAndLoadAveragesInTheDeviceRecords) {
    LinuxBackend backend(root);
    const std::optional<Bytes> bootTime = sysctlValue(backend, CTL_KERN, KERN_BOOTTIME);
    ASSERT_TRUE(bootTime && bootTime->size() == 8);
    EXPECT_EQ(readLE<int32_t>(bootTime->data(), 0), 1700000123);
    EXPECT_EQ(readLE<int32_t>(bootTime->data(), 4), 0);

    const std::optional<Bytes> loadavg = sysctlValue(backend, CTL_VM, VM_LOADAVG);
    ASSERT_TRUE(loadavg && loadavg->size() == 16);
    EXPECT_EQ(readLE<uint32_t>(loadavg->data(), 0), 1065u); // 1064.96
    EXPECT_EQ(readLE<uint32_t>(loadavg->data(), 4), 2048u);
    EXPECT_EQ(readLE<uint32_t>(loadavg->data(), 8), 25272u); // 25272.32
    EXPECT_EQ(readLE<int32_t>(loadavg->data(), 12), 2048);
}

TEST_F(UtmpRootTest, SysctlRefusesWritesAndUnknownNodes) {
    LinuxBackend backend(root);
    const int bootTime[] = {CTL_KERN, KERN_BOOTTIME};
    const int32_t newTime = 0;
    Bytes buffer(8);
    size_t length = buffer.size();
    EXPECT_EQ(backend.sysctl(bootTime, 2, buffer.data(), &length, &newTime, 4), -1);
    EXPECT_EQ(errno, EPERM);
    const int unknown[] = {CTL_HW, HW_MEMSIZE};
    EXPECT_EQ(backend.sysctl(unknown, 2, nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(UtmpRootTest, AccountingFileCarriesEveryHostRecordInOrder) {
    using namespace hostutmp;
    hostutmp::write(root + "/run/utmp",
                    {
                        {kBootTime, "reboot", "~~", "~", "6.1.0-13-amd64", 0, 1700000123, 5},
                        {kOldTime, "", "", "", "", 0, 1700000200, 0},
                        {kNewTime, "", "", "", "", 0, 1700000260, 0},
                        {kLoginProcess, "LOGIN", "tty1", "tty1", "", 812, 1700000130, 0},
                        {kUserProcess, "alice", "ts/0", "pts/0", kHost256, 2001, 1700000300, 42},
                        {kUserProcess, "bob", "tty2", kLine32, "", 2002, 1700000400, 0},
                        {kDeadProcess, "", "ts/1", "pts/1", "", 1990, 1700000290, 0},
                    },
                    /*trailingBytes=*/100);
    LinuxBackend backend(root);
    // The host numbers the clock-change records the other way round.
    const std::vector<UtmpxEntry> expected = {
        entry(utmpx::BOOT_TIME, "reboot", "~~", "~", "6.1.0-13-amd64", 0, 1700000123, 5),
        entry(utmpx::OLD_TIME, "", "", "", "", 0, 1700000200),
        entry(utmpx::NEW_TIME, "", "", "", "", 0, 1700000260),
        entry(utmpx::LOGIN_PROCESS, "LOGIN", "tty1", "tty1", "", 812, 1700000130),
        entry(utmpx::USER_PROCESS, "alice", "ts/0", "pts/0", kHost256, 2001, 1700000300, 42),
        entry(utmpx::USER_PROCESS, "bob", "tty2", kLine32, "", 2002, 1700000400),
        entry(utmpx::DEAD_PROCESS, "", "ts/1", "pts/1", "", 1990, 1700000290),
    };
    EXPECT_EQ(accountingEntries(backend), expected);
}

TEST_F(UtmpRootTest, OlderHostsKeepUtmpUnderVarRun) {
    fs::create_directories(root + "/var/run");
    hostutmp::write(root + "/var/run/utmp",
                    {{hostutmp::kUserProcess, "carol", "", "tty3", "", 0, 0, 0}});
    LinuxBackend backend(root);
    const std::vector<UtmpxEntry> entries = accountingEntries(backend);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].user, "carol");
}

TEST_F(UtmpRootTest, OtherFilesOpenUnderTheRootReadOnly) {
    LinuxBackend backend(root);
    const std::optional<Bytes> loadavg = fileContent(backend, "/proc/loadavg");
    ASSERT_TRUE(loadavg);
    EXPECT_EQ(std::string(loadavg->begin(), loadavg->end()), "0.52 1.00 12.34 2/345 6789\n");
    errno = 0;
    EXPECT_EQ(backend.fopen("/proc/loadavg", "r+"), nullptr);
    EXPECT_EQ(errno, EACCES);
    struct ::stat info {};
    EXPECT_EQ(backend.stat("/proc/stat", &info), 0);
    EXPECT_EQ(backend.stat("/proc/missing", &info), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(LinuxBackendLogind, SessionsStandInForAMissingUtmp) {
    LinuxBackend backend(testenv::fixturePath("linux-root-logind").toStdString());
    // By login time; the greeter, the session still opening and the .ref file are no logins.
    const std::vector<UtmpxEntry> expected = {
        entry(utmpx::USER_PROCESS, "bob", "5", "pts/1", "198.51.100.7", 2301, 1700000100),
        entry(utmpx::USER_PROCESS, "alice", "2", "tty2", "", 1201, 1700000200, 123456),
        entry(utmpx::DEAD_PROCESS, "carol", "c3", ":1", "", 3301, 1700000300),
        entry(utmpx::USER_PROCESS, "dave", "8", "?", "", 4401, 1700000400),
    };
    EXPECT_EQ(accountingEntries(backend), expected);
}

TEST(LinuxBackendLogind, SeatNamesALineWhenThereIsNoTtyOrDisplay) {
    const auto login = parseLogindSession("12345", "USER=eve\nSTATE=active\nSEAT=seat1\n");
    ASSERT_TRUE(login);
    EXPECT_EQ(login->line, "seat1");
    EXPECT_FALSE(parseLogindSession("9", "USER=x\nSTATE=active\nCLASS=background\n"));
    EXPECT_TRUE(parseLogindSession("9", "USER=x\nACTIVE=1\n")) << "files without STATE";
}

TEST(LinuxBackendEmptyRoot, MissingFilesFailAndTheAccountingFileIsJustTheSignature) {
    LinuxBackend backend(tempRoot("linux-root-empty"));
    errno = 0;
    EXPECT_FALSE(sysctlValue(backend, CTL_KERN, KERN_BOOTTIME));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(sysctlValue(backend, CTL_VM, VM_LOADAVG));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(fileContent(backend, utmpx::kPath), encodeUtmpxFile({}));
}

TEST(LinuxBackendEmptyRoot, MalformedProcFilesAreIoErrors) {
    const std::string root = tempRoot("linux-root-garbled");
    fs::create_directories(root + "/proc");
    std::ofstream(root + "/proc/stat") << "cpu 1 2 3\nbtime soon\n";
    std::ofstream(root + "/proc/loadavg") << "0,52 1,00 12,34 2/345 6789\n";
    LinuxBackend backend(root);
    EXPECT_FALSE(sysctlValue(backend, CTL_KERN, KERN_BOOTTIME));
    EXPECT_EQ(errno, EIO);
    EXPECT_FALSE(sysctlValue(backend, CTL_VM, VM_LOADAVG));
    EXPECT_EQ(errno, EIO);
}
