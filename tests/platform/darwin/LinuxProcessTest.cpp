#include "ProcessTableReads.h"

#include "platform/darwin/linux/LinuxBackend.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

using namespace darwin;
using namespace processreads;

namespace {

constexpr int32_t kBootTime = 1700000000;
constexpr int32_t kPts3 = static_cast<int32_t>((136u << 24) | 3u); // Linux tty_nr 34819

std::map<int32_t, KinfoProc> byPid(const std::vector<KinfoProc>& processes) {
    std::map<int32_t, KinfoProc> map;
    for (const KinfoProc& process : processes) {
        map[process.pid] = process;
    }
    return map;
}

KinfoProc expected(int32_t pid, std::string comm, int8_t stat, int32_t flag, int32_t ppid,
                   int32_t pgid, int32_t startSec, int32_t startUsec) {
    KinfoProc process;
    process.pid = pid;
    process.comm = std::move(comm);
    process.stat = stat;
    process.flag = flag;
    process.ppid = ppid;
    process.pgid = pgid;
    process.starttime = {startSec, startUsec};
    process.priority = 50;
    process.ruid = process.uid = process.gid0 = 1000;
    process.ngroups = 1;
    process.tdev = NODEV_DARWIN;
    return process;
}

class FakeProcRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::sysconf(_SC_CLK_TCK) != 100) {
            GTEST_SKIP() << "the fake start times are written for 100 clock ticks a second";
        }
    }

    LinuxBackend backend{testenv::fixturePath("linux-root-proc").toStdString()};
};

} // namespace

TEST_F(FakeProcRootTest, EveryProcessMapsToTheDeviceRecord) {
    const auto table = processTable(backend);
    ASSERT_TRUE(table);
    std::vector<int32_t> pids;
    for (const KinfoProc& process : *table) {
        pids.push_back(process.pid);
    }
    // Ascending; the thread 701 and the garbled 900 are no processes.
    EXPECT_EQ(pids, (std::vector<int32_t>{1, 2, 100, 200, 300, 400, 500, 600, 650, 700, 710, 800}));
    std::map<int32_t, KinfoProc> got = byPid(*table);

    KinfoProc init = expected(1, "systemd", SSLEEP, P_EXEC, 0, 1, kBootTime, 100000);
    init.ruid = init.uid = init.gid0 = 0;
    EXPECT_EQ(got[1], init);

    KinfoProc kthreadd = expected(2, "kthreadd", SSLEEP, P_SYSTEM, 0, 0, kBootTime, 0);
    kthreadd.ruid = kthreadd.uid = kthreadd.gid0 = 0;
    EXPECT_EQ(got[2], kthreadd) << "a kernel thread has not exec'd, though forked";

    KinfoProc shell =
        expected(100, "bash", SSLEEP, P_EXEC | P_CONTROLT, 1, 100, kBootTime + 123, 450000);
    shell.tdev = kPts3;
    EXPECT_EQ(got[100], shell) << "its ids come after 6000 bytes of status";

    KinfoProc oddName =
        expected(200, "we) (ird name", SRUN, P_EXEC | P_CONTROLT, 100, 200, kBootTime + 200, 0);
    oddName.tdev = kPts3;
    oddName.nice = 10;
    oddName.priority = 70;
    EXPECT_EQ(got[200], oddName);

    EXPECT_EQ(got[300],
              expected(300, "defunct", SZOMB, P_EXEC | P_WEXIT, 100, 100, kBootTime + 300, 0));

    KinfoProc stopped =
        expected(400, "vim", SSTOP, P_EXEC | P_CONTROLT, 100, 400, kBootTime + 400, 0);
    stopped.tdev = kPts3;
    EXPECT_EQ(got[400], stopped);

    KinfoProc worker = expected(500, "kworker/0:1-even", SSLEEP, P_SYSTEM, 2, 0, kBootTime, 550000);
    worker.ruid = worker.uid = worker.gid0 = 0;
    worker.nice = -20;
    worker.priority = 10;
    EXPECT_EQ(got[500], worker) << "idle kernel thread, long name cut to 16";

    EXPECT_EQ(got[600],
              expected(600, "traced", SSTOP, P_EXEC | P_TRACED, 650, 600, kBootTime + 600, 0));

    KinfoProc setuid = expected(700, "passwd", SSLEEP, P_EXEC | P_CONTROLT | P_SUGID, 100, 700,
                                kBootTime + 700, 0);
    setuid.uid = 0;
    setuid.tdev = kPts3;
    EXPECT_EQ(got[700], setuid) << "ruid 1000, effective uid 0";

    KinfoProc forked = expected(710, "worker", SSLEEP, P_SUGID, 700, 700, kBootTime + 710, 0);
    forked.gid0 = 50;
    forked.nice = 19;
    forked.priority = 88;
    EXPECT_EQ(got[710], forked) << "forked without exec, effective gid 50";

    EXPECT_EQ(got[800].priority, 25) << "real-time priority 50 ranks above every user priority";
    EXPECT_EQ(got[800].uid, 999u);
}

TEST_F(FakeProcRootTest, TableSizesFollowTheKernel) {
    size_t length = 0;
    ASSERT_EQ(allProcesses(backend, nullptr, &length), 0);
    // Every process directory counts, readable or not, plus the slack.
    EXPECT_EQ(length, (14 + kProcessTableSlack) * kinfo_proc::Layout::kSize);

    std::vector<unsigned char> buffer(2 * kinfo_proc::Layout::kSize + 10);
    length = buffer.size();
    EXPECT_EQ(allProcesses(backend, buffer.data(), &length), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, 2 * kinfo_proc::Layout::kSize);
    EXPECT_EQ(kinfo_proc::Layout::decode(buffer.data() + kinfo_proc::Layout::kSize).pid, 2);
}

TEST_F(FakeProcRootTest, PerProcessQueriesAnswerNothingForNonProcesses) {
    OneProcess answer = oneProcess(backend, 200);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.length, kinfo_proc::Layout::kSize);
    EXPECT_EQ(answer.process.comm, "we) (ird name");
    for (const int32_t pid : {701, 900, 4242, -1}) {
        answer = oneProcess(backend, pid);
        EXPECT_EQ(answer.result, 0) << pid;
        EXPECT_EQ(answer.length, 0u) << pid;
    }
}

TEST_F(FakeProcRootTest, TaskInfoFromStat) {
    unsigned char record[proc_taskinfo::Layout::kSize];
    ASSERT_EQ(backend.proc_pidinfo(100, PROC_PIDTASKINFO, 0, record, sizeof record), 96);
    const ProcTaskInfo info = proc_taskinfo::Layout::decode(record);
    EXPECT_EQ(info.virtualSize, 9000000u);
    EXPECT_EQ(info.residentSize, 1234u * static_cast<uint64_t>(::sysconf(_SC_PAGESIZE)));
    EXPECT_EQ(info.totalUser, 120000000u);
    EXPECT_EQ(info.totalSystem, 70000000u);
    EXPECT_EQ(info.faults, 503);
    EXPECT_EQ(info.threadnum, 1);

    ASSERT_EQ(backend.proc_pidinfo(2, PROC_PIDTASKINFO, 0, record, sizeof record), 96);
    EXPECT_EQ(proc_taskinfo::Layout::decode(record).residentSize, 0u)
        << "a kernel thread has no memory";
    for (const int32_t pid : {300, 701, 4242}) {
        errno = 0;
        EXPECT_EQ(backend.proc_pidinfo(pid, PROC_PIDTASKINFO, 0, record, sizeof record), 0);
        EXPECT_EQ(errno, ESRCH) << "zombie, thread, absent: " << pid;
    }
}

TEST_F(FakeProcRootTest, AccountNamesComeFromTheRootsFilesAndSignalsStayInside) {
    EXPECT_EQ(backend.userName(1000), "alice");
    EXPECT_EQ(backend.userName(0), "root");
    EXPECT_EQ(backend.userName(5), std::nullopt);
    EXPECT_EQ(backend.groupName(50), "staff");
    EXPECT_EQ(backend.groupName(999), std::nullopt);
    errno = 0;
    EXPECT_EQ(backend.kill(100, 0), -1);
    EXPECT_EQ(errno, EPERM) << "the fake tree's pids are not the host's";
    EXPECT_EQ(backend.killProcessStartedAt(100, kBootTime + 123, 0), -1);
    EXPECT_EQ(errno, EPERM);
}

// The kept table over a clock the test moves by hand.
TEST(RecentProcessTable, AnswersFromTheKeptTableUntilItsLifetimeEnds) {
    using namespace std::chrono_literals;
    RecentProcessTable::TimePoint now{1h};
    const auto clock = [&now] { return now; };
    const auto table = [](std::vector<KinfoProc> processes) {
        return kinfo_proc::Layout::encodeTable(processes);
    };
    const auto process = [](int32_t pid, std::string comm) {
        KinfoProc record;
        record.pid = pid;
        record.comm = std::move(comm);
        return record;
    };

    RecentProcessTable recent(clock);
    unsigned char record[kinfo_proc::Layout::kSize];
    EXPECT_FALSE(recent.find(1, record)) << "nothing kept yet";
    recent.keep(table({process(1, "init"), process(5, "first"), process(9, "last")}));
    now += RecentProcessTable::kLifetime - 1ns;
    ASSERT_TRUE(recent.find(5, record));
    EXPECT_EQ(kinfo_proc::Layout::decode(record).comm, "first");
    EXPECT_TRUE(recent.find(9, record));
    EXPECT_FALSE(recent.find(3, record)) << "not in the table";
    now += 1ns;
    EXPECT_FALSE(recent.find(5, record)) << "as old as the lifetime";
    recent.keep(table({process(3, "new")}));
    EXPECT_TRUE(recent.find(3, record)) << "kept anew, dated now";
    EXPECT_FALSE(recent.find(5, record)) << "the new table replaces the old one";

    // Through the backend: within the lifetime a query is answered from the table, but a
    // process reaped since answers nothing.
    const std::string root = testenv::makeTempDir("linux-root-proc").toStdString();
    std::filesystem::copy(testenv::fixturePath("linux-root-proc").toStdString(), root,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::copy_symlinks);
    LinuxBackend backend(root, clock);
    ASSERT_TRUE(processTable(backend));
    std::ifstream in(root + "/proc/100/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    stat.replace(stat.find("(bash)"), 6, "(zsh)");
    std::ofstream(root + "/proc/100/stat", std::ios::trunc) << stat;
    std::filesystem::remove_all(root + "/proc/200");

    now += RecentProcessTable::kLifetime - 1ns;
    EXPECT_EQ(oneProcess(backend, 100).process.comm, "bash") << "served from the table";
    EXPECT_EQ(oneProcess(backend, 200).length, 0u) << "listed, but no longer there";
    now += 1ns;
    EXPECT_EQ(oneProcess(backend, 100).process.comm, "zsh") << "read from /proc again";
}
