// Against the machine the tests run on: the backend must agree with the host's own view
// (/proc, df, the process's own ids). Suites named LiveHost* carry the CTest label "live".
#include "BackendReads.h"

#include "platform/darwin/Statfs.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>

using namespace darwin;
using namespace backendreads;

namespace {

// The value of key in a /proc file of "key value" words.
double procValue(const char* path, const std::string& key) {
    std::ifstream file(path);
    file.imbue(std::locale::classic());
    std::string word;
    while (file >> word && word != key) {
    }
    double value = 0;
    file >> value;
    return value;
}

// The three averages of /proc/loadavg in the kernel's fixed point.
std::array<uint32_t, 3> hostLoadAverages() {
    std::ifstream loadavg("/proc/loadavg");
    loadavg.imbue(std::locale::classic());
    std::array<uint32_t, 3> fixed{};
    for (uint32_t& value : fixed) {
        double average = 0;
        loadavg >> average;
        value = static_cast<uint32_t>(std::lround(average * FSCALE));
    }
    return fixed;
}

// The first number a shell command prints, or nothing when it cannot be run.
std::optional<uint64_t> numberPrintedBy(const std::string& command) {
    FILE* output = ::popen((command + " 2>/dev/null").c_str(), "r");
    unsigned long long number = 0;
    const bool read = output != nullptr && std::fscanf(output, "%llu", &number) == 1;
    if (output != nullptr) {
        ::pclose(output);
    }
    return read ? std::optional<uint64_t>(number) : std::nullopt;
}

std::optional<uint64_t> residentBytes(Backend& backend, pid_t pid) {
    unsigned char record[proc_taskinfo::Layout::kSize];
    if (backend.proc_pidinfo(pid, PROC_PIDTASKINFO, 0, record, sizeof record) != 96) {
        return std::nullopt;
    }
    return proc_taskinfo::Layout::decode(record).residentSize;
}

} // namespace

TEST(LiveHostSystem, BootTimeLoadAveragesAndAccountingFileAgreeWithProc) {
    LinuxBackend backend;
    // The kernel refreshes the averages every few seconds: accept the reading before or after.
    const std::array<uint32_t, 3> before = hostLoadAverages();
    const std::optional<Bytes> bootTime = sysctlValue(backend, {CTL_KERN, KERN_BOOTTIME});
    const std::optional<Bytes> loadavg = sysctlValue(backend, {CTL_VM, VM_LOADAVG});
    const std::array<uint32_t, 3> after = hostLoadAverages();
    ASSERT_TRUE(bootTime && bootTime->size() == timeval32::Layout::kSize);
    const Timeval32 boot = timeval32::Layout::decode(bootTime->data());
    EXPECT_EQ(boot.sec, procValue("/proc/stat", "btime"));
    EXPECT_EQ(boot.usec, 0);
    ASSERT_TRUE(loadavg && loadavg->size() == loadavg32::Layout::kSize);
    const Loadavg32 averages = loadavg32::Layout::decode(loadavg->data());
    EXPECT_EQ(averages.fscale, FSCALE);
    EXPECT_TRUE(averages.ldavg == before || averages.ldavg == after);

    const std::optional<Bytes> file = fileContent(backend, utmpx::kPath);
    ASSERT_TRUE(file && file->size() >= utmpx::Layout::kSize);
    EXPECT_EQ(file->size() % utmpx::Layout::kSize, 0u) << "whole records";
    EXPECT_EQ(utmpx::Layout::decode(file->data()), utmpxSignatureEntry());
}

TEST(LiveHostMemory, PageCountsFitInTheMachine) {
    LinuxBackend backend;
    vm_size_t pageSize = 0;
    ASSERT_EQ(backend.host_page_size(backend.mach_host_self(), &pageSize), KERN_SUCCESS);
    EXPECT_EQ(pageSize, static_cast<vm_size_t>(::sysconf(_SC_PAGESIZE)));

    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    ASSERT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_SUCCESS);
    const VmStatistics64 stats = vm_statistics64::Layout::decode(info.data());
    const uint64_t pages =
        uint64_t{stats.freeCount} + stats.activeCount + stats.inactiveCount + stats.wireCount;
    EXPECT_GT(stats.freeCount, 0u);
    EXPECT_GT(stats.wireCount, 0u);
    EXPECT_LE(pages, procValue("/proc/meminfo", "MemTotal:") * 1024 / pageSize);
    EXPECT_GT(stats.faults, 0u);
    EXPECT_LE(stats.hits, stats.lookups);
}

TEST(LiveHostDisk, RootIsListedOnceWithTheSizeDfReports) {
    LinuxBackend backend;
    std::optional<StatfsRecord> root;
    for (const StatfsRecord& record : mountTable(backend, MNT_NOWAIT)) {
        if (record.mntonname == "/") {
            EXPECT_FALSE(root) << "/ is listed once";
            root = record;
        }
    }
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->flags & MNT_ROOTFS);

    struct ::statvfs host {};
    ASSERT_EQ(::statvfs("/", &host), 0);
    EXPECT_EQ(root->bsize, host.f_frsize);
    EXPECT_EQ(root->blocks * root->bsize, uint64_t{host.f_blocks} * host.f_frsize);
    if (const std::optional<uint64_t> dfSize =
            numberPrintedBy("df -B1 --output=size / | tail -n 1")) {
        EXPECT_EQ(root->blocks * root->bsize, *dfSize);
    }
}

TEST(LiveHostProcess, OwnRecordMatchesTheProcess) {
    LinuxBackend backend;
    const OneProcess own = oneProcess(backend, ::getpid());
    ASSERT_EQ(own.length, kinfo_proc::Layout::kSize);
    EXPECT_EQ(own.process.ppid, ::getppid());
    EXPECT_EQ(own.process.pgid, ::getpgrp());
    EXPECT_EQ(own.process.uid, ::geteuid());
    EXPECT_EQ(own.process.ruid, ::getuid());
    EXPECT_EQ(own.process.gid0, ::getegid());
    EXPECT_EQ(own.process.comm, std::string(program_invocation_short_name).substr(0, 15));
    EXPECT_EQ(own.process.stat, SRUN);
    EXPECT_EQ(own.process.flag & (P_EXEC | P_SYSTEM), P_EXEC);
    EXPECT_LE(own.process.starttime.sec, std::time(nullptr));
    EXPECT_EQ(backend.userName(0), "root");

    const auto table = processTable(backend);
    ASSERT_TRUE(table);
    EXPECT_TRUE(std::ranges::is_sorted(*table, {}, &KinfoProc::pid));
    EXPECT_NE(std::ranges::find(*table, own.process), table->end());
}

// A child through its life: signalled only under its own start time, a zombie, reaped.
TEST(LiveHostProcess, ChildIsSignalledByStartTimeThenZombieThenGone) {
    LinuxBackend backend;
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) {
            ::pause(); // until the test's signal
        }
    }
    ASSERT_GT(child, 0);
    struct Reaper { // the child is not left behind when an assertion ends the test early
        pid_t pid;
        bool reaped = false;
        ~Reaper() {
            if (!reaped) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    } reaper{child};
    const OneProcess alive = oneProcess(backend, child);
    ASSERT_EQ(alive.length, kinfo_proc::Layout::kSize);
    const int32_t start = alive.process.starttime.sec;
    errno = 0;
    EXPECT_EQ(backend.killProcessStartedAt(child, start - 1, SIGTERM), -1);
    EXPECT_EQ(errno, ESRCH) << "another start time means another process";
    EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "the child lives";
    EXPECT_EQ(backend.killProcessStartedAt(child, start, SIGTERM), 0);

    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_EQ(info.si_status, SIGTERM);
    EXPECT_EQ(oneProcess(backend, child).process.stat, SZOMB);
    unsigned char record[proc_taskinfo::Layout::kSize];
    errno = 0;
    EXPECT_EQ(backend.proc_pidinfo(child, PROC_PIDTASKINFO, 0, record, sizeof record), 0);
    EXPECT_EQ(errno, ESRCH) << "a zombie has no task";

    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    reaper.reaped = true;
    const OneProcess gone = oneProcess(backend, child);
    EXPECT_EQ(gone.result, 0);
    EXPECT_EQ(gone.length, 0u);
    errno = 0;
    EXPECT_EQ(backend.killProcessStartedAt(child, start, SIGTERM), -1);
    EXPECT_EQ(errno, ESRCH);
}

// The test's own process and pid 1 against ps: read before and after ps, so a page the
// process touches meanwhile does not count against the reading.
TEST(LiveHostProcess, ResidentSizeAgreesWithPsWithinOnePage) {
    LinuxBackend backend;
    const auto page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    for (const pid_t pid : {::getpid(), pid_t{1}}) {
        const std::optional<uint64_t> before = residentBytes(backend, pid);
        const std::optional<uint64_t> ps = numberPrintedBy("ps -o rss= -p " + std::to_string(pid));
        const std::optional<uint64_t> after = residentBytes(backend, pid);
        if (!ps && std::getenv("CI") == nullptr) {
            GTEST_SKIP() << "ps cannot be run here";
        }
        ASSERT_TRUE(ps) << "ps -o rss= -p " << pid;
        ASSERT_TRUE(before && after) << "pid " << pid;
        EXPECT_GT(*before, 0u) << "pid " << pid;
        EXPECT_LE(std::min(*before, *after), *ps * 1024 + page) << "pid " << pid;
        EXPECT_GE(std::max(*before, *after) + page, *ps * 1024) << "pid " << pid;
    }
}
