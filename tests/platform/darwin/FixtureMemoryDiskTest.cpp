#include "platform/darwin/Darwin.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>

using namespace darwin;

namespace {

class FixtureMemoryDiskTest : public ::testing::Test {
protected:
    void SetUp() override { install(fixture); }
    void TearDown() override { install(nullptr); }

    // Through the layer, as the application asks; the words land in info.
    kern_return_t vmInfo(int flavor, natural_t count = 24) {
        info.fill(0);
        const mach_port_t host = darwin::mach_host_self();
        return flavor == HOST_VM_INFO64
                   ? darwin::host_statistics64(host, flavor, info.data(), &count)
                   : darwin::host_statistics(host, flavor, info.data(), &count);
    }
    const natural_t* words() const { return reinterpret_cast<const natural_t*>(info.data()); }

    std::shared_ptr<FixtureBackend> fixture = std::make_shared<FixtureBackend>();
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
};

StatfsRecord mount(std::string on, std::string type) {
    StatfsRecord record;
    record.bsize = 4096;
    record.blocks = 0x200000000ULL;
    record.mntonname = std::move(on);
    record.fstypename = std::move(type);
    return record;
}

} // namespace

TEST_F(FixtureMemoryDiskTest, NothingSetFailsAndFailuresOverrideUntilCleared) {
    vm_size_t size = 77;
    EXPECT_EQ(darwin::host_page_size(kHostPort, &size), KERN_FAILURE);
    EXPECT_EQ(size, 77u);
    EXPECT_EQ(vmInfo(HOST_VM_INFO), KERN_FAILURE);
    EXPECT_EQ(vmInfo(HOST_VM_INFO64), KERN_FAILURE);

    fixture->setPageSize(16384);
    fixture->setVmStatistics(VmStatistics{});
    fixture->setVmStatistics64(VmStatistics64{});
    fixture->failPageSize(KERN_INVALID_ARGUMENT);
    fixture->failVmStatistics(KERN_FAILURE);
    EXPECT_EQ(darwin::host_page_size(kHostPort, &size), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(vmInfo(HOST_VM_INFO), KERN_FAILURE);
    EXPECT_EQ(vmInfo(HOST_VM_INFO64), KERN_FAILURE);

    fixture->failPageSize(KERN_SUCCESS);
    fixture->failVmStatistics(KERN_SUCCESS);
    EXPECT_EQ(darwin::host_page_size(kHostPort, &size), KERN_SUCCESS);
    EXPECT_EQ(size, 16384u);
    EXPECT_EQ(vmInfo(HOST_VM_INFO), KERN_SUCCESS);
    EXPECT_EQ(vmInfo(HOST_VM_INFO64), KERN_SUCCESS);
}

TEST_F(FixtureMemoryDiskTest, EachFlavourServesWhatWasSetForIt) {
    VmStatistics narrow;
    narrow.freeCount = 0x80000001u;
    fixture->setVmStatistics(narrow);
    VmStatistics64 wide;
    wide.faults = 0x1234567890ULL;
    fixture->setVmStatistics64(wide);

    ASSERT_EQ(vmInfo(HOST_VM_INFO, HOST_VM_INFO_COUNT), KERN_SUCCESS);
    EXPECT_EQ(vm_statistics::Layout::decode(words()), narrow);
    ASSERT_EQ(vmInfo(HOST_VM_INFO64), KERN_SUCCESS);
    EXPECT_EQ(vm_statistics64::Layout::decode(words()), wide)
        << "nothing derived from the 32-bit record";

    natural_t count = HOST_VM_INFO_COUNT;
    EXPECT_EQ(fixture->host_statistics64(kHostPort, HOST_VM_INFO, info.data(), &count),
              KERN_SUCCESS)
        << "HOST_VM_INFO through host_statistics64 is passed on, as xnu does";
    EXPECT_EQ(words()[0], 0x80000001u);
    EXPECT_EQ(fixture->host_statistics(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_INVALID_ARGUMENT);
    EXPECT_EQ(fixture->host_statistics(MACH_PORT_NULL, HOST_VM_INFO, info.data(), &count),
              KERN_INVALID_HOST);
    EXPECT_EQ(fixture->host_statistics(kHostPort, HOST_VM_INFO, nullptr, &count),
              KERN_INVALID_ARGUMENT);
}

TEST_F(FixtureMemoryDiskTest, MountsComeBackInOrderUntilTheyFail) {
    const unsigned char* records = nullptr;
    EXPECT_EQ(darwin::getmntinfo(&records, MNT_NOWAIT), 0) << "no mounts set";
    fixture->setMounts({mount("/", "hfs"), mount("/dev", "devfs"), mount("/private/var", "hfs")});

    ASSERT_EQ(darwin::getmntinfo(&records, MNT_NOWAIT), 3);
    EXPECT_EQ(fixture->lastMountFlags(), MNT_NOWAIT);
    EXPECT_EQ(statfs64::Layout::decode(records), mount("/", "hfs"));
    EXPECT_EQ(statfs64::Layout::decode(records + statfs64::Layout::kSize).fstypename, "devfs");
    EXPECT_EQ(statfs64::Layout::decode(records + 2 * statfs64::Layout::kSize).mntonname,
              "/private/var");

    fixture->failMounts(EIO);
    errno = 0;
    EXPECT_EQ(darwin::getmntinfo(&records, MNT_WAIT), 0);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(fixture->lastMountFlags(), MNT_WAIT);
    EXPECT_EQ(statfs64::Layout::decode(records), mount("/", "hfs"))
        << "a failed call keeps the old buffer";
    fixture->failMounts(0);
    EXPECT_EQ(darwin::getmntinfo(&records, MNT_NOWAIT), 3);
}
