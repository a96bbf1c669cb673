#include "platform/darwin/Statfs.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "platform/darwin/linux/MountInfo.h"
#include "support/TestEnvironment.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

using namespace darwin;
namespace fs = std::filesystem;

namespace {

const uint64_t kKibPerPage = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE)) / 1024;

std::string memRoot() {
    return testenv::fixturePath("linux-root-mem").toStdString();
}

std::map<std::string, StatfsRecord> mountsByPoint(Backend& backend, int flags,
                                                  std::vector<std::string>* order = nullptr) {
    const unsigned char* records = nullptr;
    const int count = backend.getmntinfo(&records, flags);
    std::map<std::string, StatfsRecord> mounts;
    for (int i = 0; i < count; ++i) {
        StatfsRecord record = statfs64::Layout::decode(records + i * statfs64::Layout::kSize);
        if (order != nullptr) {
            order->push_back(record.mntonname);
        }
        mounts[record.mntonname] = std::move(record);
    }
    return mounts;
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << content;
}

} // namespace

TEST(LinuxMemory, CountersFromMeminfoAndVmstat) {
    LinuxBackend backend(memRoot());
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    ASSERT_EQ(
        backend.host_statistics64(backend.mach_host_self(), HOST_VM_INFO64, info.data(), &count),
        KERN_SUCCESS);
    EXPECT_EQ(count, 24u);
    const VmStatistics64 wide =
        vm_statistics64::Layout::decode(reinterpret_cast<natural_t*>(info.data()));
    EXPECT_EQ(wide.freeCount, 8'000'000 / kKibPerPage) << "MemFree";
    EXPECT_EQ(wide.activeCount, 3'000'000 / kKibPerPage) << "Active";
    EXPECT_EQ(wide.inactiveCount, 2'000'000 / kKibPerPage) << "Inactive";
    EXPECT_EQ(wide.wireCount, (100'000 + 20'000 + 40'000 + 4'000 + 4'096) / kKibPerPage)
        << "SUnreclaim + KernelStack + PageTables + Percpu + Unevictable; Mlocked not twice";
    EXPECT_EQ(wide.faults, 10'000'000'000ULL);
    EXPECT_EQ(wide.lookups, 10'000'000'000ULL);
    EXPECT_EQ(wide.hits, 10'000'000'000ULL - 123'456) << "faults that needed no I/O";
    EXPECT_EQ(wide.reactivations, 0x1c0000000ULL) << "pgactivate";
    EXPECT_EQ(wide.pageins, 17'179'869'188ULL / kKibPerPage) << "pgpgin, KiB to pages";
    EXPECT_EQ(wide.pageouts, 8 / kKibPerPage);
    EXPECT_EQ(wide.purges, 7u) << "pglazyfreed";
    EXPECT_EQ(wide.cowFaults, 0u);
    EXPECT_EQ(wide.zeroFillCount, 0u);
    EXPECT_EQ(wide.purgeableCount, 0u);
    EXPECT_EQ(wide.speculativeCount, 0u);

    std::array<int32_t, HOST_VM_INFO_COUNT> narrowInfo{};
    count = HOST_VM_INFO_COUNT;
    ASSERT_EQ(backend.host_statistics(kHostPort, HOST_VM_INFO, narrowInfo.data(), &count),
              KERN_SUCCESS);
    const VmStatistics narrow =
        vm_statistics::Layout::decode(reinterpret_cast<natural_t*>(narrowInfo.data()));
    EXPECT_EQ(narrow, truncatedVmStatistics(wide));
    EXPECT_EQ(narrow.faults, static_cast<natural_t>(10'000'000'000ULL)) << "1410065408: wrapped";
    EXPECT_EQ(narrow.reactivations, 0xc0000000u) << "the low word, beyond 2^31";
}

TEST(LinuxMemory, PageSizeIsTheHosts) {
    LinuxBackend backend(memRoot());
    vm_size_t size = 0;
    EXPECT_EQ(backend.host_page_size(backend.mach_host_self(), &size), KERN_SUCCESS);
    EXPECT_EQ(size, static_cast<vm_size_t>(::sysconf(_SC_PAGESIZE)));
    EXPECT_EQ(backend.host_page_size(MACH_PORT_NULL, &size), KERN_INVALID_ARGUMENT);
}

TEST(LinuxMemory, UnreadableOrIncompleteCountersFail) {
    const fs::path root = testenv::makeTempDir("linux-root-mem-bad").toStdString();
    LinuxBackend backend(root.string());
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO_COUNT;
    EXPECT_EQ(backend.host_statistics(kHostPort, HOST_VM_INFO, info.data(), &count), KERN_FAILURE)
        << "no /proc at all";

    writeFile(root / "proc/meminfo", "MemFree: 1 kB\nActive: 2 kB\n");
    writeFile(root / "proc/vmstat", "pgfault 1\n");
    count = HOST_VM_INFO64_COUNT;
    EXPECT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_FAILURE)
        << "no Inactive line";
    count = 11;
    EXPECT_EQ(backend.host_statistics(kHostPort, HOST_VM_INFO, info.data(), &count), KERN_FAILURE)
        << "a short count fails before the files are read";
}

TEST(LinuxDisk, MountTableWithTheDeviceFlags) {
    LinuxBackend backend(memRoot());
    std::vector<std::string> order;
    const auto mounts = mountsByPoint(backend, MNT_NOWAIT, &order);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "/", "/proc", "/run", "/boot/efi", "/home", "/mnt/my disk", "/srv/nfs",
                         "/media/auto", "/home/user/remote", "/var/lib/data", "/srv/back\\slash"}))
        << "mountinfo order; covered mounts, what lies under them and /gone are left out";

    const struct {
        const char* on;
        const char* type;
        const char* from;
        uint32_t flags;
    } expected[] = {
        {"/", "ext4", "/dev/nvme0n1p2", MNT_LOCAL | MNT_ROOTFS | MNT_JOURNALED},
        {"/proc", "proc", "proc", MNT_NOSUID | MNT_NODEV | MNT_NOEXEC},
        {"/run", "tmpfs", "tmpfs", MNT_NOSUID | MNT_NODEV},
        {"/boot/efi", "vfat", "/dev/nvme0n1p1", MNT_LOCAL},
        {"/home", "btrfs", "/dev/mapper/vg-home", MNT_LOCAL | MNT_NOATIME},
        {"/mnt/my disk", "ext4", "/dev/sdb1",
         MNT_RDONLY | MNT_NOSUID | MNT_NODEV | MNT_NOEXEC | MNT_SYNCHRONOUS | MNT_LOCAL |
             MNT_QUOTA | MNT_JOURNALED},
        {"/srv/nfs", "nfs4", "fileserver:/export/srv", 0},
        {"/media/auto", "xfs", "/dev/sdc1",
         MNT_LOCAL | MNT_JOURNALED | MNT_QUOTA | MNT_AUTOMOUNTED},
        {"/home/user/remote", "fuse.sshfs", "user@host:/data", MNT_NOSUID | MNT_NODEV},
        {"/var/lib/data", "ext4", "none", MNT_LOCAL | MNT_JOURNALED},
        {"/srv/back\\slash", "ext2", "/dev/sde1", MNT_LOCAL},
    };
    for (const auto& e : expected) {
        ASSERT_TRUE(mounts.contains(e.on)) << e.on;
        const StatfsRecord& record = mounts.at(e.on);
        EXPECT_EQ(record.fstypename, e.type) << e.on;
        EXPECT_EQ(record.mntfromname, e.from) << e.on;
        EXPECT_EQ(record.flags, e.flags) << e.on << std::hex << " flags " << record.flags;
    }
    EXPECT_EQ(mounts.at("/home/user/remote").owner, 1000u) << "FUSE names who mounted it";
    EXPECT_EQ(mounts.at("/").owner, 0u);
    EXPECT_GT(mounts.at("/boot/efi").blocks, 0u) << "measured: the fixture's own file system";
    EXPECT_GT(mounts.at("/boot/efi").bsize, 0u);
}

TEST(LinuxDisk, NowaitLeavesServedFileSystemsUnasked) {
    LinuxBackend backend(memRoot());
    const auto spared = mountsByPoint(backend, MNT_NOWAIT);
    for (const char* served : {"/srv/nfs", "/home/user/remote"}) {
        EXPECT_EQ(spared.at(served).blocks, 0u) << served;
        EXPECT_EQ(spared.at(served).bsize, 0u) << served;
    }
    const auto asked = mountsByPoint(backend, MNT_WAIT);
    EXPECT_EQ(asked.size(), spared.size());
    for (const char* served : {"/srv/nfs", "/home/user/remote"}) {
        EXPECT_GT(asked.at(served).blocks, 0u) << served << " is measured when the caller waits";
    }
}

TEST(LinuxDisk, MissingMountTableFails) {
    LinuxBackend backend(testenv::makeTempDir("linux-root-nomounts").toStdString());
    const unsigned char* records = nullptr;
    errno = 0;
    EXPECT_EQ(backend.getmntinfo(&records, MNT_NOWAIT), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(backend.getmntinfo(nullptr, MNT_NOWAIT), 0);
    EXPECT_EQ(errno, EFAULT);
}

TEST(LinuxDisk, MountFieldsUnescapeAndOptionsMatchWholeWords) {
    EXPECT_EQ(unescapeMountField("/mnt/a\\040b\\011c\\012d\\134e"), "/mnt/a b\tc\nd\\e");
    EXPECT_EQ(unescapeMountField("/x\\04"), "/x\\04") << "too few digits";
    EXPECT_EQ(unescapeMountField("/x\\400\\08x"), "/x\\400\\08x") << "not a byte, not octal";

    EXPECT_TRUE(hasMountOption("rw,noatime", "noatime"));
    EXPECT_FALSE(hasMountOption("rw,nodiratime", "noatime"));
    EXPECT_FALSE(hasMountOption("rw,errors=remount-ro", "ro"));
    EXPECT_TRUE(hasMountOption("rw,usrjquota=aquota.user,jqfmt=vfsv1", "usrjquota="));
    EXPECT_FALSE(hasMountOption("", "ro"));
    EXPECT_EQ(mountOptionValue("rw,xuser_id=5,user_id=1000", "user_id"), "1000");
    EXPECT_EQ(mountOptionValue("rw,user_id", "user_id"), std::nullopt);
}
