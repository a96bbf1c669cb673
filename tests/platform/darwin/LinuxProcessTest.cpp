#include "BackendReads.h"

#include "platform/darwin/linux/LinuxBackend.h"
#include "platform/darwin/linux/ProcessTable.h"
#include "support/TestEnvironment.h"
#include "support/WithoutReadingAnyFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

using namespace darwin;
namespace fs = std::filesystem;
using namespace backendreads;

namespace {

constexpr int32_t kBootTime = 1700000000;
constexpr int32_t kPts3 = static_cast<int32_t>((136u << 24) | 3u); // Linux tty_nr 34819
constexpr int32_t kNoTty = NODEV_DARWIN;

class FakeProcRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::sysconf(_SC_CLK_TCK) != 100) {
            GTEST_SKIP() << "the fake start times are written for 100 clock ticks a second";
        }
    }

    LinuxBackend backend{testenv::fixturePath("linux-root-proc").toStdString()};
};

// The record the device's kernel would write: one group, p_usrpri 0.
KinfoProc record(int32_t pid, const char* comm, int8_t stat, int32_t flag, int32_t ppid,
                 int32_t pgid, int32_t startAfterBoot, int32_t startUsec, int8_t nice,
                 uint8_t priority, uint32_t ruid, uint32_t uid, uint32_t gid, int32_t tdev) {
    const Timeval32 start{kBootTime + startAfterBoot, startUsec};
    return {start, flag, stat, pid, priority, 0, nice, comm, ruid, uid, 1, gid, ppid, pgid, tdev};
}

// A copy of the fake root that a test may change.
std::string copyOfFakeRoot() {
    const std::string root = testenv::makeTempDir("linux-root-proc").toStdString();
    fs::copy(testenv::fixturePath("linux-root-proc").toStdString(), root,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    return root;
}

} // namespace

// Every process of the fake root against the record the device's kernel would write.
TEST_F(FakeProcRootTest, EveryProcessMapsToTheDeviceRecord) {
    constexpr uint8_t pri = 50; // the priority of nice 0
    constexpr int32_t tty = kPts3;
    // pid, name, state, flags, ppid, pgid, start, nice, priority, ruid, uid, gid, tty
    const KinfoProc expected[] = {
        record(1, "systemd", SSLEEP, P_EXEC, 0, 1, 0, 100000, 0, pri, 0, 0, 0, kNoTty),
        // A kernel thread has not exec'd, though forked.
        record(2, "kthreadd", SSLEEP, P_SYSTEM, 0, 0, 0, 0, 0, pri, 0, 0, 0, kNoTty),
        // Its ids come after 6000 bytes of status.
        record(100, "bash", SSLEEP, P_EXEC | P_CONTROLT, 1, 100, 123, 450000, 0, pri, 1000, 1000,
               1000, tty),
        record(200, "we) (ird name", SRUN, P_EXEC | P_CONTROLT, 100, 200, 200, 0, 10, 70, 1000,
               1000, 1000, tty),
        record(300, "defunct", SZOMB, P_EXEC | P_WEXIT, 100, 100, 300, 0, 0, pri, 1000, 1000, 1000,
               kNoTty),
        record(400, "vim", SSTOP, P_EXEC | P_CONTROLT, 100, 400, 400, 0, 0, pri, 1000, 1000, 1000,
               tty),
        // An idle kernel thread; its long name cut to 16.
        record(500, "kworker/0:1-even", SSLEEP, P_SYSTEM, 2, 0, 0, 550000, -20, 10, 0, 0, 0,
               kNoTty),
        // Stopped by its tracer.
        record(600, "traced", SSTOP, P_EXEC | P_TRACED, 650, 600, 600, 0, 0, pri, 1000, 1000, 1000,
               kNoTty),
        record(650, "gdb", SSLEEP, P_EXEC | P_CONTROLT, 100, 650, 590, 0, 0, pri, 1000, 1000, 1000,
               tty),
        // Set-uid: real uid 1000, effective uid 0.
        record(700, "passwd", SSLEEP, P_EXEC | P_CONTROLT | P_SUGID, 100, 700, 700, 0, 0, pri, 1000,
               0, 1000, tty),
        // Forked without exec, effective gid 50.
        record(710, "worker", SSLEEP, P_SUGID, 700, 700, 710, 0, 19, 88, 1000, 1000, 50, kNoTty),
        // Real-time priority 50 ranks above every user priority.
        record(800, "pipewire", SSLEEP, P_EXEC, 1, 800, 800, 0, 0, 25, 999, 999, 999, kNoTty),
    };
    const auto table = processTable(backend);
    ASSERT_TRUE(table);
    // The thread 701 and the garbled 900 are no processes.
    ASSERT_EQ(table->size(), std::size(expected));
    for (size_t i = 0; i < table->size(); ++i) {
        EXPECT_EQ((*table)[i], expected[i]) << "in ascending order, pid " << expected[i].pid;
    }

    size_t length = 0;
    ASSERT_EQ(allProcesses(backend, nullptr, &length), 0);
    EXPECT_EQ(length, (14 + kProcessTableSlack) * kinfo_proc::Layout::kSize)
        << "a probe counts every process directory, readable or not";
}

// Out of descriptors, for the listing or part-way through the processes, the table is
// not a shorter table but a failed read.
TEST_F(FakeProcRootTest, ATableThatCannotBeReadWholeFails) {
    for (int spare = 0; spare < 2; ++spare) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ProcessTable table(testenv::fixturePath("linux-root-proc").toStdString());
            table.startSeconds(1); // the boot time is read once, before the descriptors run out
            const int next = ::dup(0);
            ::close(next);
            const rlimit few{static_cast<rlim_t>(next + spare), static_cast<rlim_t>(next + spare)};
            ::setrlimit(RLIMIT_NOFILE, &few);
            const auto records = table.records();
            ::_exit(!records && errno == EMFILE ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << spare << " spare";
    }
}

// A process this user may not read (hidepid, a security module) is left out, as one
// that is gone: the rest of the table stands.
TEST_F(FakeProcRootTest, AProcessThatMayNotBeReadIsLeftOut) {
    const fs::path root = copyOfFakeRoot();
    fs::permissions(root / "proc/100/status", fs::perms::none);
    std::optional<std::vector<unsigned char>> records;
    withoutReadingAnyFile([&] { records = ProcessTable(root.string()).records(); });
    ASSERT_TRUE(records);
    EXPECT_EQ(records->size(), 11 * kinfo_proc::Layout::kSize);
}

TEST_F(FakeProcRootTest, PerProcessQueriesTaskInfoAndNames) {
    OneProcess answer = oneProcess(backend, 200);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.length, kinfo_proc::Layout::kSize);
    EXPECT_EQ(answer.process.comm, "we) (ird name");
    for (const int32_t pid : {701, 900, 4242, -1}) {
        answer = oneProcess(backend, pid);
        EXPECT_EQ(answer.result, 0) << pid;
        EXPECT_EQ(answer.length, 0u) << "thread, garbled, absent, negative: " << pid;
    }

    unsigned char record[proc_taskinfo::Layout::kSize];
    ASSERT_EQ(backend.proc_pidinfo(100, PROC_PIDTASKINFO, 0, record, sizeof record), 96);
    // Resident pages from statm (1262), not stat's lagging rss (1234); 12 and 7 ticks of
    // CPU time; faults minor and major, page-ins the major ones.
    const ProcTaskInfo expected{.virtualSize = 9000000,
                                .residentSize =
                                    1262u * static_cast<uint64_t>(::sysconf(_SC_PAGESIZE)),
                                .totalUser = 120000000,
                                .totalSystem = 70000000,
                                .faults = 503,
                                .pageins = 3,
                                .threadnum = 1};
    EXPECT_EQ(proc_taskinfo::Layout::decode(record), expected);
    ASSERT_EQ(backend.proc_pidinfo(2, PROC_PIDTASKINFO, 0, record, sizeof record), 96);
    EXPECT_EQ(proc_taskinfo::Layout::decode(record).residentSize, 0u)
        << "a kernel thread has no memory";
    // 650 lost its statm: gone part-way, though the table (which reads no statm) lists it.
    for (const int32_t pid : {300, 701, 4242, 650}) {
        errno = 0;
        EXPECT_EQ(backend.proc_pidinfo(pid, PROC_PIDTASKINFO, 0, record, sizeof record), 0);
        EXPECT_EQ(errno, ESRCH) << "zombie, thread, absent, no statm: " << pid;
    }

    // Names from the root's own account files; signals never leave the fake tree.
    EXPECT_EQ(backend.userName(1000), "alice");
    EXPECT_EQ(backend.userName(0), "root");
    EXPECT_EQ(backend.userName(5), std::nullopt);
    EXPECT_EQ(backend.groupName(50), "staff");
    EXPECT_EQ(backend.groupName(999), std::nullopt);
    errno = 0;
    EXPECT_EQ(backend.killProcessStartedAt(100, kBootTime + 123, 0), -1);
    EXPECT_EQ(errno, EPERM) << "the fake tree's pids are not the host's";
}

// More processes than the probe's slack started between probe and read: the read gets the
// whole records that fit, *oldlenp their size, and ENOMEM, as xnu's sysctl_doproc answers
// (the size needed is not reported: a new probe tells it).
TEST_F(FakeProcRootTest, ATableGrownPastTheSlackAnswersENOMEMWithTheRecordsThatFit) {
    const std::string root = copyOfFakeRoot();
    LinuxBackend growing(root);
    size_t probed = 0;
    ASSERT_EQ(allProcesses(growing, nullptr, &probed), 0);
    ASSERT_EQ(probed, (14 + kProcessTableSlack) * kinfo_proc::Layout::kSize);
    // 12 readable processes and 10 newcomers: 22 records for a buffer of 19.
    for (int32_t pid = 1000; pid < 1010; ++pid) {
        const std::string directory = root + "/proc/" + std::to_string(pid);
        fs::create_directory(directory);
        std::ofstream(directory + "/stat")
            << pid << " (newcomer) R 1 " << pid << " 0 0 0 0 0 0 0 0 0 "
            << "0 0 0 20 0 1 0 500 0 0\n";
        std::ofstream(directory + "/status")
            << "Tgid:\t" << pid << "\nTracerPid:\t0\nUid:\t0\t0\t0\t0\nGid:\t0\t0\t0\t0\n";
    }

    std::vector<unsigned char> buffer(probed);
    size_t length = probed;
    EXPECT_EQ(allProcesses(growing, buffer.data(), &length), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, probed) << "19 whole records";
    const auto table = processTable(growing);
    ASSERT_TRUE(table) << "probed anew, it is read whole";
    EXPECT_EQ(table->size(), 22u);
}

// The kept table over a clock the test moves by hand.
TEST(RecentProcessTable, AnswersFromTheKeptTableUntilItsLifetimeEnds) {
    using namespace std::chrono_literals;
    RecentProcessTable::TimePoint now{1h};
    const auto clock = [&now] { return now; };
    const auto table = [](std::vector<std::pair<int32_t, const char*>> processes) {
        std::vector<KinfoProc> records;
        for (const auto& [pid, comm] : processes) {
            records.push_back(KinfoProc{.starttime = {}, .pid = pid, .comm = comm});
        }
        return kinfo_proc::Layout::encodeTable(records);
    };

    RecentProcessTable recent(clock);
    unsigned char record[kinfo_proc::Layout::kSize];
    EXPECT_FALSE(recent.find(1, record)) << "nothing kept yet";
    recent.keep(table({{1, "init"}, {5, "first"}, {9, "last"}}));
    now += RecentProcessTable::kLifetime - 1ns;
    ASSERT_TRUE(recent.find(5, record));
    EXPECT_EQ(kinfo_proc::Layout::decode(record).comm, "first");
    EXPECT_TRUE(recent.find(9, record));
    EXPECT_FALSE(recent.find(3, record)) << "not in the table";
    now += 1ns;
    EXPECT_FALSE(recent.find(5, record)) << "as old as the lifetime";
    recent.keep(table({{3, "new"}}));
    EXPECT_TRUE(recent.find(3, record)) << "kept anew, dated now";
    EXPECT_FALSE(recent.find(5, record)) << "the new table replaces the old one";

    // Through the backend: within the lifetime a query is answered from the table, but a
    // process reaped since answers nothing.
    const std::string root = copyOfFakeRoot();
    LinuxBackend backend(root, clock);
    ASSERT_TRUE(processTable(backend));
    std::string stat;
    std::getline(std::ifstream(root + "/proc/100/stat"), stat);
    stat.replace(stat.find("(bash)"), 6, "(zsh)");
    std::ofstream(root + "/proc/100/stat", std::ios::trunc) << stat << '\n';
    fs::remove_all(root + "/proc/200");

    now += RecentProcessTable::kLifetime - 1ns;
    EXPECT_EQ(oneProcess(backend, 100).process.comm, "bash") << "served from the table";
    EXPECT_EQ(oneProcess(backend, 200).length, 0u) << "listed, but no longer there";
    now += 1ns;
    EXPECT_EQ(oneProcess(backend, 100).process.comm, "zsh") << "read from /proc again";
}
