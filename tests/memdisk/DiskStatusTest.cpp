#include "memdisk/DiskStatus.h"
#include "MemDiskFixture.h"
#include "memdisk/DiskInfo.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cerrno>

struct DiskStatusTestAccess {
    static std::unique_ptr<DiskStatus> make() {
        return std::unique_ptr<DiskStatus>(new DiskStatus());
    }
};

namespace {

using darwin::StatfsRecord;

TEST(DiskInfo, SizesInKilobytesOfAnyBlockSizeAndCapacityCountsTheReservedBlocks) {
    const struct {
        uint32_t bsize;
        uint64_t blocks, bfree, bavail;
        int64_t size, used, avail;
        int32_t capacity;
        const char* why;
    } cases[] = {
        {4096, 1'000'000, 250'000, 200'000, 4'000'000, 3'000'000, 800'000, 80,
         "not 75: the superuser's blocks count as occupied"},
        {4096, 1000, 250, 1, 4000, 3000, 4, 99, "99.9 percent, cut off"},
        {4096, 1000, 250, 0, 4000, 3000, 0, 100, "nothing available is full"},
        {4096, 0, 0, 0, 0, 0, 0, 100, "even without blocks"},
        {4096, 2'000'000'000, 500'000'000, 400'000'000, 8'000'000'000, 6'000'000'000, 1'600'000'000,
         80, "above 2 TiB: the true size"},
        {512, 1'000'000, 250'000, 200'000, 500'000, 375'000, 100'000, 80,
         "FAT's 512-byte clusters: blocks under a kilobyte"},
        {2560, 1000, 250, 200, 2500, 1875, 500, 80, "a block size not a multiple of 1 KiB"},
        {512, 3, 0, 1, 2, 2, 1, 66, "part of a kilobyte counts whole, as df rounds"},
        {4096, 1000, 1200, 1100, 4000, 0, 4400, 0, "more free than blocks: nothing used"},
        {4096, uint64_t{1} << 60, 0, 0, int64_t{1} << 62, int64_t{1} << 62, 0, 100,
         "bytes beyond 64 bits"},
        {1u << 20, uint64_t{1} << 63, 0, 0, INT64_MAX, INT64_MAX, 0, 100,
         "kilobytes beyond 64 bits: the largest size"},
    };
    for (const auto& c : cases) {
        StatfsRecord record = MemDiskFixture::disk("/dev/disk0s1", "/");
        record.bsize = c.bsize;
        record.blocks = c.blocks;
        record.bfree = c.bfree;
        record.bavail = c.bavail;
        const DiskInfo disk = MemDiskFixture::info(record);
        EXPECT_EQ(disk.size(), c.size) << c.why;
        EXPECT_EQ(disk.used(), c.used) << c.why;
        EXPECT_EQ(disk.avail(), c.avail) << c.why;
        EXPECT_EQ(disk.capacity(), c.capacity) << c.why;
    }
}

TEST(DiskInfo, OptionWordsFollowTheDevicesOrderNotTheBits) {
    using namespace darwin;
    EXPECT_EQ(DiskInfo::buildOptions(MNT_RDONLY | MNT_LOCAL | MNT_ROOTFS),
              QStringList({"local", "rootfs", "read-only"}));
    EXPECT_EQ(DiskInfo::buildOptions(MNT_CPROTECT | MNT_DONTBROWSE | MNT_MULTILABEL), QStringList())
        << "flags without a word";
}

// Bytes that are not UTF-8 are the view test's; a UTF-8 name shows as it is.
TEST(DiskInfo, Utf8NamesShowAsTheyAre) {
    EXPECT_EQ(MemDiskFixture::info(MemDiskFixture::disk("/dev/disk1", "/Volumes/Café")).mounted(),
              QString::fromUtf8("/Volumes/Café"));
}

// Which disks are listed, in which order, the view test's golden text shows.
TEST(DiskStatus, SnapshotDoesNotWaitAndAFailingMountTableLeavesNothing) {
    MemDiskFixture kernel;
    auto status = DiskStatusTestAccess::make();
    kernel.backend->setMounts({MemDiskFixture::disk("/dev/disk0s1", "/")});
    status->snapshot();
    EXPECT_EQ(status->info().size(), 1);
    EXPECT_EQ(kernel.backend->lastMountFlags(), darwin::MNT_NOWAIT);
    kernel.backend->failMounts(EIO);
    status->snapshot();
    EXPECT_TRUE(status->info().isEmpty());
}

} // namespace
