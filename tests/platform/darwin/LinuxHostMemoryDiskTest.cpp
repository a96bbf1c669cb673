// Against the machine the tests run on: memory and mounts must agree with the host's own view.
#include "platform/darwin/Statfs.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

using namespace darwin;

namespace {

uint64_t memTotalKib() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t value = 0;
    while (meminfo >> key >> value && key != "MemTotal:") {
        meminfo.ignore(64, '\n');
    }
    return value;
}

// The size in bytes that df reports for /, or nothing when df cannot be run.
std::optional<uint64_t> dfSizeOfRoot() {
    FILE* df = ::popen("df -B1 --output=size / 2>/dev/null", "r");
    if (df == nullptr) {
        return std::nullopt;
    }
    char line[256];
    std::optional<uint64_t> size;
    while (std::fgets(line, sizeof line, df) != nullptr) {
        unsigned long long value = 0;
        if (std::sscanf(line, " %llu", &value) == 1) {
            size = value;
        }
    }
    ::pclose(df);
    return size;
}

} // namespace

TEST(LinuxHostMemory, PageCountsFitInTheMachine) {
    LinuxBackend backend;
    vm_size_t pageSize = 0;
    ASSERT_EQ(backend.host_page_size(backend.mach_host_self(), &pageSize), KERN_SUCCESS);
    EXPECT_EQ(pageSize, static_cast<vm_size_t>(::sysconf(_SC_PAGESIZE)));

    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    ASSERT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_SUCCESS);
    const VmStatistics64 stats =
        vm_statistics64::Layout::decode(reinterpret_cast<natural_t*>(info.data()));
    const uint64_t pages =
        uint64_t{stats.freeCount} + stats.activeCount + stats.inactiveCount + stats.wireCount;
    EXPECT_GT(stats.freeCount, 0u);
    EXPECT_GT(stats.wireCount, 0u);
    EXPECT_LE(pages, memTotalKib() * 1024 / pageSize);
    EXPECT_GT(stats.faults, 0u);
    EXPECT_LE(stats.hits, stats.lookups);
}

TEST(LinuxHostDisk, RootIsListedWithTheSizeDfReports) {
    LinuxBackend backend;
    const unsigned char* records = nullptr;
    const int count = backend.getmntinfo(&records, MNT_NOWAIT);
    ASSERT_GT(count, 0);
    std::optional<StatfsRecord> root;
    for (int i = 0; i < count; ++i) {
        const StatfsRecord record = statfs64::Layout::decode(records + i * statfs64::Layout::kSize);
        if (record.mntonname == "/") {
            EXPECT_FALSE(root) << "/ is listed once";
            root = record;
        }
    }
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->flags & MNT_ROOTFS);

    struct ::statvfs host {};
    ASSERT_EQ(::statvfs("/", &host), 0);
    EXPECT_EQ(root->blocks * root->bsize, uint64_t{host.f_blocks} * host.f_frsize);
    EXPECT_EQ(root->bsize, host.f_frsize);
    const std::optional<uint64_t> dfSize = dfSizeOfRoot();
    if (dfSize) {
        EXPECT_EQ(root->blocks * root->bsize, *dfSize);
    }
}
