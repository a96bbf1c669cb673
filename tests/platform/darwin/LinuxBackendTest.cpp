// The Linux backend over fake roots (tests/fixtures/linux-root-*): every mapping from the
// host's files to the device's records.
#include "BackendReads.h"
#include "HostUtmpWriter.h"
#include "RecordBytes.h"

#include "platform/darwin/Statfs.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "platform/darwin/linux/LogindSessions.h"
#include "platform/darwin/linux/MountInfo.h"
#include "platform/darwin/linux/MountTable.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>

using namespace darwin;
using namespace backendreads;
using namespace recordbytes;
namespace fs = std::filesystem;

namespace {

const std::string kHost256(256, 'h');
const std::string kLine32(32, 'L');

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

const uint64_t kKibPerPage = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE)) / 1024;

std::string memRoot() {
    return testenv::fixturePath("linux-root-mem").toStdString();
}

const StatfsRecord& mountOn(const std::vector<StatfsRecord>& mounts, const std::string& on) {
    const auto found = std::ranges::find(mounts, on, &StatfsRecord::mntonname);
    EXPECT_NE(found, mounts.end()) << on;
    static const StatfsRecord none;
    return found != mounts.end() ? *found : none;
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << content;
}

} // namespace

// The payloads at the offsets of darwin-abi.md, section 8: timeval {tv_sec @0, tv_usec @4},
// loadavg {ldavg[3] @0/4/8, fscale @12}.
TEST(LinuxBackendSystem, BootTimeLoadAveragesAndFilesUnderTheRoot) {
    LinuxBackend backend(testenv::fixturePath("linux-root-utmp").toStdString());
    const std::optional<Bytes> bootTime = sysctlValue(backend, {CTL_KERN, KERN_BOOTTIME});
    ASSERT_TRUE(bootTime);
    EXPECT_EQ(bootTime->size(), 8u);
    expectRecord(*bootTime, {at(0, int32_t(1700000123)), at(4, int32_t(0))});
    const std::optional<Bytes> loadavg = sysctlValue(backend, {CTL_VM, VM_LOADAVG});
    ASSERT_TRUE(loadavg);
    EXPECT_EQ(loadavg->size(), 16u);
    // 0.52 1.00 12.34 in units of 1/2048, rounded.
    expectRecord(*loadavg, {at(0, uint32_t(1065)), at(4, uint32_t(2048)), at(8, uint32_t(25272)),
                            at(12, int32_t(2048))});

    const int unknown[] = {CTL_HW, HW_MEMSIZE};
    size_t length = 0;
    EXPECT_EQ(backend.sysctl(unknown, 2, nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);

    // Other files open under the root, for reading only.
    const std::optional<Bytes> text = fileContent(backend, "/proc/loadavg");
    ASSERT_TRUE(text);
    EXPECT_EQ(std::string(text->begin(), text->end()), "0.52 1.00 12.34 2/345 6789\n");
    errno = 0;
    EXPECT_EQ(backend.fopen("/proc/loadavg", "r+"), nullptr);
    EXPECT_EQ(errno, EACCES);
    struct ::stat info {};
    EXPECT_EQ(backend.stat("/proc/stat", &info), 0);
    EXPECT_EQ(backend.stat("/proc/missing", &info), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(LinuxBackendSystem, AccountingFileCarriesEveryHostRecordInOrder) {
    using namespace hostutmp;
    const std::string root = testenv::makeTempDir("linux-root-utmp").toStdString();
    fs::create_directories(root + "/run");
    fs::create_directories(root + "/var/run");
    hostutmp::write(root + "/var/run/utmp", {{kUserProcess, "carol", "", "tty3", "", 0, 0, 0}});
    LinuxBackend backend(root);
    EXPECT_EQ(accountingEntries(backend),
              std::vector{entry(utmpx::USER_PROCESS, "carol", "", "tty3", "", 0, 0)})
        << "older hosts keep utmp under /var/run";

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
    EXPECT_EQ(accountingEntries(backend), expected) << "/run/utmp, when there is one";
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

    const auto seated = parseLogindSession("12345", "USER=eve\nSTATE=active\nSEAT=seat1\n");
    ASSERT_TRUE(seated);
    EXPECT_EQ(seated->line, "seat1") << "the seat names a line when there is no tty or display";
    EXPECT_FALSE(parseLogindSession("9", "USER=x\nSTATE=active\nCLASS=background\n"));
    EXPECT_TRUE(parseLogindSession("9", "USER=x\nACTIVE=1\n")) << "files without STATE";
}

TEST(LinuxBackendMemory, CountersFromMeminfoAndVmstat) {
    LinuxBackend backend(memRoot());
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    ASSERT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_SUCCESS);
    const VmStatistics64 wide = vm_statistics64::Layout::decode(info.data());
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
    EXPECT_EQ(wide.cowFaults + wide.zeroFillCount + wide.purgeableCount + wide.speculativeCount, 0u)
        << "no Linux counterpart";

    std::array<int32_t, HOST_VM_INFO_COUNT> narrow{};
    count = HOST_VM_INFO_COUNT;
    ASSERT_EQ(backend.host_statistics(kHostPort, HOST_VM_INFO, narrow.data(), &count),
              KERN_SUCCESS);
    EXPECT_EQ(vm_statistics::Layout::decode(narrow.data()), truncatedVmStatistics(wide));
}

TEST(LinuxBackendEmptyRoot, MissingFilesFailGarbledOnesAreIoErrors) {
    const fs::path root = testenv::makeTempDir("linux-root-empty").toStdString();
    LinuxBackend backend(root);
    EXPECT_FALSE(sysctlValue(backend, {CTL_KERN, KERN_BOOTTIME}));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(sysctlValue(backend, {CTL_VM, VM_LOADAVG}));
    EXPECT_EQ(errno, ENOENT);
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    EXPECT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_FAILURE);
    const unsigned char* records = nullptr;
    errno = 0;
    EXPECT_EQ(backend.getmntinfo(&records, MNT_NOWAIT), 0) << "no mount table";
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(fileContent(backend, utmpx::kPath), encodeUtmpxFile({})) << "just the signature";

    writeFile(root / "proc/stat", "cpu 1 2 3\nbtime soon\n");
    writeFile(root / "proc/loadavg", "0,52 1,00 12,34 2/345 6789\n");
    writeFile(root / "proc/meminfo", "MemFree: 1 kB\nActive: 2 kB\n");
    writeFile(root / "proc/vmstat", "pgfault 1\n");
    EXPECT_FALSE(sysctlValue(backend, {CTL_KERN, KERN_BOOTTIME}));
    EXPECT_EQ(errno, EIO);
    EXPECT_FALSE(sysctlValue(backend, {CTL_VM, VM_LOADAVG}));
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_FAILURE)
        << "no Inactive line";
}

TEST(LinuxBackendDisk, MountTableWithTheDeviceFlags) {
    LinuxBackend backend(memRoot());
    // In mountinfo order; covered mounts, what lies under them and /gone are left out.
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
        {"/misc", "autofs", "systemd-1", MNT_AUTOMOUNTED},
        {"/media/win", "fuseblk", "/dev/sdf1", MNT_NOSUID | MNT_NODEV | MNT_LOCAL},
    };
    const std::vector<StatfsRecord> mounts = mountTable(backend, MNT_NOWAIT);
    ASSERT_EQ(mounts.size(), std::size(expected));
    for (size_t i = 0; i < mounts.size(); ++i) {
        const auto& e = expected[i];
        EXPECT_EQ(mounts[i].mntonname, e.on);
        EXPECT_EQ(mounts[i].fstypename, e.type) << e.on;
        EXPECT_EQ(mounts[i].mntfromname, e.from) << e.on;
        EXPECT_EQ(mounts[i].flags, e.flags) << e.on << std::hex << " flags " << mounts[i].flags;
    }
    EXPECT_EQ(mountOn(mounts, "/home/user/remote").owner, 1000u) << "FUSE names who mounted it";
    EXPECT_EQ(mountOn(mounts, "/").owner, 0u);
    EXPECT_GT(mountOn(mounts, "/boot/efi").blocks, 0u) << "measured: the fixture's file system";
    EXPECT_GT(mountOn(mounts, "/boot/efi").bsize, 0u);

    // An autofs trigger is measured only when the caller waits: asking mounts it.
    const std::vector<StatfsRecord> measured = mountTable(backend, MNT_WAIT);
    EXPECT_EQ(measured.size(), mounts.size());
    EXPECT_EQ(mountOn(mounts, "/misc").blocks, 0u);
    EXPECT_EQ(mountOn(mounts, "/misc").bsize, 0u);
    EXPECT_GT(mountOn(measured, "/misc").blocks, 0u);
}

// Served file systems are measured by workers without waiting too; the fixture's
// directories answer at once, the deadline only bounds a broken run.
TEST(LinuxBackendDisk, ServedFileSystemsAnswerThroughWorkers) {
    const std::optional<std::vector<StatfsRecord>> mounts =
        MountTable(memRoot(), std::chrono::seconds(30)).records(false);
    ASSERT_TRUE(mounts);
    for (const char* served : {"/srv/nfs", "/home/user/remote", "/media/win"}) {
        EXPECT_GT(mountOn(*mounts, served).blocks, 0u) << served;
        EXPECT_GT(mountOn(*mounts, served).bsize, 0u) << served;
    }
    EXPECT_EQ(mountOn(*mounts, "/misc").blocks, 0u) << "autofs: not asked";
}

// Bind mounts and one device mounted twice show once, as df shows them.
TEST(LinuxBackendDisk, EachFileSystemShowsOnceAtTheMountDfShows) {
    const fs::path root = testenv::makeTempDir("linux-root-binds").toStdString();
    writeFile(root / "proc/self/mountinfo",
              // A bind of / (ip netns), and a container's /etc/hosts from the same disk.
              "22 1 254:0 / / rw - ext4 /dev/vda rw\n"
              "23 22 254:0 / /run/netns rw - ext4 /dev/vda rw\n"
              "24 22 254:0 /var/lib/c1/hosts /etc/hosts rw - ext4 /dev/vda rw\n"
              // A shorter name for a deeper directory does not win; for the same one it does.
              "25 22 8:17 / /mnt/data-disk rw - ext4 /dev/sdb1 rw\n"
              "26 22 8:17 /sub /d rw - ext4 /dev/sdb1 rw\n"
              "27 22 8:17 / /data rw - ext4 /dev/sdb1 rw\n"
              // Files bound from another disk: the shortest name, at the first one's place.
              "28 22 254:16 /c2/resolv.conf /etc/resolv.conf rw - ext4 /dev/vdb rw\n"
              "29 22 254:16 /c2/hostname /etc/hostname rw - ext4 /dev/vdb rw\n"
              "30 22 254:16 /c2/hosts2 /etc/hosts2 rw - ext4 /dev/vdb rw\n"
              // btrfs subvolumes share a device number but are file systems of their own.
              "31 22 0:35 /@home /home rw - btrfs /dev/sdc1 rw,subvolid=256,subvol=/@home\n"
              "32 22 0:35 /@var /var rw - btrfs /dev/sdc1 rw,subvolid=257,subvol=/@var\n"
              "33 22 0:35 /@home/u/x /srv/x rw - btrfs /dev/sdc1 rw,subvolid=256,subvol=/@home\n"
              // Exports of one server share a device number: each is kept, and a later one
              // is compared with the latest kept, as df does (so /a2 shows beside /b).
              "34 22 0:50 / /a rw - nfs4 server:/a rw\n"
              "35 22 0:50 / /b rw - nfs4 server:/b rw\n"
              "36 22 0:50 / /a2 rw - nfs4 server:/a rw\n"
              // A device's name wins over a pseudo source's, however long its mount point.
              "37 22 0:61 / /x rw - ext2 none rw\n"
              "38 22 0:61 / /x-longer rw - ext2 /dev/sde1 rw\n");
    for (const char* dir : {"run/netns", "mnt/data-disk", "d", "data", "home", "var", "srv/x", "a",
                            "b", "a2", "x", "x-longer"}) {
        fs::create_directories(root / dir);
    }
    for (const char* file : {"etc/hosts", "etc/resolv.conf", "etc/hostname", "etc/hosts2"}) {
        writeFile(root / file, "");
    }
    LinuxBackend backend(root.string());
    std::vector<std::string> shown;
    for (const StatfsRecord& record : mountTable(backend, MNT_NOWAIT)) {
        shown.push_back(record.mntonname);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"/", "/data", "/etc/hosts2", "/home", "/var", "/a",
                                               "/b", "/a2", "/x-longer"}));
}

// What the fake mount table does not show: other escapes, near misses of option names.
TEST(LinuxBackendDisk, MountFieldsUnescapeAndOptionsMatchWholeWords) {
    EXPECT_EQ(unescapeMountField("/mnt/a\\011b\\012c"), "/mnt/a\tb\nc");
    EXPECT_EQ(unescapeMountField("/x\\04/\\400\\08"), "/x\\04/\\400\\08")
        << "too few digits, not a byte, not octal";
    EXPECT_FALSE(hasMountOption("rw,nodiratime", "noatime"));
    EXPECT_TRUE(hasMountOption("rw,usrjquota=aquota.user,jqfmt=vfsv1", "usrjquota="));
    EXPECT_EQ(mountOptionValue("rw,xuser_id=5,user_id=1000", "user_id"), "1000");
    EXPECT_EQ(mountOptionValue("rw,user_id", "user_id"), std::nullopt);
}
