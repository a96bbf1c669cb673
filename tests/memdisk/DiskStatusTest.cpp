#include "memdisk/DiskStatus.h"
#include "MemDiskFixture.h"
#include "memdisk/DiskInfo.h"
#include "platform/services/PlatformProfile.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sys/statvfs.h>

#include <algorithm>
#include <array>
#include <cerrno>

struct DiskStatusTestAccess {
    static std::unique_ptr<DiskStatus> make() {
        return std::unique_ptr<DiskStatus>(new DiskStatus());
    }
};

namespace {

using darwin::StatfsRecord;

DiskInfo infoOf(const StatfsRecord& record) {
    std::array<unsigned char, darwin::statfs64::Layout::kSize> bytes{};
    darwin::statfs64::Layout::encode(record, bytes.data());
    return DiskInfo(bytes.data());
}

class DiskStatusTest : public ::testing::Test {
protected:
    MemDiskFixture kernel;
    std::unique_ptr<DiskStatus> status = DiskStatusTestAccess::make();
};

TEST_F(DiskStatusTest, SizesInKilobytesAndCapacityCountsTheReservedBlocks) {
    const DiskInfo disk = infoOf(MemDiskFixture::disk("/dev/disk0s1", "/"));
    EXPECT_EQ(disk.filesystem(), "/dev/disk0s1");
    EXPECT_EQ(disk.mounted(), "/");
    EXPECT_EQ(disk.fstype(), "hfs");
    EXPECT_EQ(disk.size(), 4'000'000);
    EXPECT_EQ(disk.used(), 3'000'000);
    EXPECT_EQ(disk.avail(), 800'000);
    EXPECT_EQ(disk.capacity(), 80) << "not 75: the superuser's blocks count as occupied";
}

TEST_F(DiskStatusTest, NothingAvailableIsFullEvenWithoutBlocks) {
    StatfsRecord full = MemDiskFixture::disk("/dev/disk0s2", "/private/var");
    full.bavail = 0;
    EXPECT_EQ(infoOf(full).capacity(), 100);
    full.blocks = 0;
    full.bfree = 0;
    EXPECT_EQ(infoOf(full).capacity(), 100);

    StatfsRecord almost = MemDiskFixture::disk("/dev/disk0s2", "/private/var");
    almost.blocks = 1000;
    almost.bavail = 1; // 99.9 percent: cut off
    EXPECT_EQ(infoOf(almost).capacity(), 99);
}

TEST_F(DiskStatusTest, BlocksSmallerThanAKilobyteCountAsNothing) {
    StatfsRecord small = MemDiskFixture::disk("/dev/disk1", "/mnt");
    small.bsize = 512;
    const DiskInfo disk = infoOf(small);
    EXPECT_EQ(disk.size(), 0);
    EXPECT_EQ(disk.used(), 0);
    EXPECT_EQ(disk.avail(), 0);
    EXPECT_EQ(disk.capacity(), 80);
}

TEST_F(DiskStatusTest, DisksAbove2TiBKeepTheirTrueSize) {
    StatfsRecord large = MemDiskFixture::disk("/dev/disk2", "/Volumes/Big");
    large.blocks = 2'000'000'000; // 8 TB of 4 KB blocks
    large.bfree = 500'000'000;
    large.bavail = 400'000'000;
    const DiskInfo disk = infoOf(large);
    EXPECT_EQ(disk.size(), 8'000'000'000);
    EXPECT_EQ(disk.used(), 6'000'000'000);
    EXPECT_EQ(disk.avail(), 1'600'000'000);
    EXPECT_EQ(disk.capacity(), 80);
}

TEST_F(DiskStatusTest, OptionWordsFollowTheDevicesOrderNotTheBits) {
    using namespace darwin;
    EXPECT_EQ(DiskInfo::buildOptions(MNT_RDONLY | MNT_LOCAL | MNT_ROOTFS),
              QStringList({"local", "rootfs", "read-only"}));
    EXPECT_EQ(DiskInfo::buildOptions(MNT_JOURNALED | MNT_NOATIME),
              QStringList({"noatime", "journaled"}));
    EXPECT_EQ(DiskInfo::buildOptions(0), QStringList());
    EXPECT_EQ(DiskInfo::buildOptions(MNT_CPROTECT | MNT_DONTBROWSE | MNT_MULTILABEL), QStringList())
        << "flags without a word";
    EXPECT_EQ(DiskInfo::buildOptions(0xFFFFFFFFu),
              QStringList({"local", "quota", "rootfs", "read-only", "synchronous", "noexec",
                           "nosuid", "nodev", "union", "asynchronous", "noatime", "exported",
                           "quarantined", "volfs", "automounted", "journaled"}));
}

TEST_F(DiskStatusTest, NamesThatAreNotUtf8AreNull) {
    const DiskInfo disk = infoOf(MemDiskFixture::disk("/dev/disk1", "/Volumes/\xff\xfe"));
    EXPECT_TRUE(disk.mounted().isNull());
    EXPECT_EQ(disk.filesystem(), "/dev/disk1");
    const DiskInfo named = infoOf(MemDiskFixture::disk("/dev/disk1", "/Volumes/Café"));
    EXPECT_EQ(named.mounted(), QString::fromUtf8("/Volumes/Café"));
}

TEST_F(DiskStatusTest, SnapshotListsTheDisksInMountOrderAndSkipsTheRest) {
    kernel.backend->setMounts({MemDiskFixture::disk("/dev/disk0s1", "/"),
                               MemDiskFixture::disk("devfs", "/dev", "devfs"),
                               MemDiskFixture::disk("/dev/disk0s2", "/private/var"),
                               MemDiskFixture::disk("server:/export", "/net", "nfs")});
    status->snapshot();
    ASSERT_EQ(status->info().size(), 2);
    EXPECT_EQ(status->info().at(0).filesystem(), "/dev/disk0s1");
    EXPECT_EQ(status->info().at(1).filesystem(), "/dev/disk0s2");
    EXPECT_EQ(kernel.backend->lastMountFlags(), darwin::MNT_NOWAIT);

    kernel.backend->setMounts({MemDiskFixture::disk("/dev/vda", "/", "ext4")});
    status->snapshot();
    ASSERT_EQ(status->info().size(), 1) << "a snapshot replaces the records";
    EXPECT_EQ(status->info().at(0).fstype(), "ext4");

    status->removeAllData();
    EXPECT_TRUE(status->info().isEmpty());
}

TEST_F(DiskStatusTest, AFailingMountTableLeavesNothing) {
    kernel.backend->setMounts({MemDiskFixture::disk("/dev/disk0s1", "/")});
    status->snapshot();
    ASSERT_EQ(status->info().size(), 1);
    kernel.backend->failMounts(EIO);
    status->snapshot();
    EXPECT_TRUE(status->info().isEmpty());
}

// The type of the file system mounted at "/" now (the last mount there wins).
QString rootFileSystemType() {
    QFile mounts("/proc/self/mounts");
    QString type;
    if (mounts.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : mounts.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() > 2 && fields[1] == "/") {
                type = QString::fromUtf8(fields[2]);
            }
        }
    }
    return type;
}

TEST(DiskStatusLive, TheRootFileSystemIsListedWithItsSize) {
    const QString type = rootFileSystemType();
    if (!services::PlatformProfile::isListedFileSystemType(type)) {
        GTEST_SKIP() << "the root file system here is " << type.toStdString()
                     << ", not one kept on a local block device";
    }
    darwin::install(nullptr);
    auto status = DiskStatusTestAccess::make();
    status->snapshot();
    const auto root = std::find_if(status->info().begin(), status->info().end(),
                                   [](const DiskInfo& disk) { return disk.mounted() == "/"; });
    ASSERT_NE(root, status->info().end());
    EXPECT_EQ(root->fstype(), type);
    struct statvfs st {};
    ASSERT_EQ(::statvfs("/", &st), 0);
    const int64_t kilobytes = static_cast<int64_t>(st.f_blocks) * st.f_frsize / 1024;
    EXPECT_NEAR(static_cast<double>(root->size()), static_cast<double>(kilobytes), 1024.0);
    EXPECT_GT(root->avail(), 0);
    EXPECT_TRUE(root->options().contains("local")) << root->options().join(',').toStdString();
}

} // namespace
