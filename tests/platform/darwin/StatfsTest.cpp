#include "platform/darwin/Statfs.h"
#include "platform/darwin/ByteOrder.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <thread>

using namespace darwin;

namespace {

StatfsRecord sampleRecord() {
    StatfsRecord r;
    r.bsize = 4096;
    r.iosize = -2;
    r.blocks = 0x123456789ULL; // more than 2^32 blocks
    r.bfree = 0x100000001ULL;
    r.bavail = 0xffffffff00000000ULL;
    r.files = 0x0102030405060708ULL;
    r.ffree = 7;
    r.owner = 501;
    r.type = 0xef53;
    r.flags = MNT_LOCAL | MNT_ROOTFS | MNT_JOURNALED | MNT_NOATIME;
    r.fssubtype = 1;
    r.fstypename = "fuse.abcdefghijk"; // 16 characters: fills the field
    r.mntonname = "/" + std::string(1023, 'm');
    r.mntfromname = std::string(1024, 'f');
    return r;
}

} // namespace

// darwin-abi.md, section 4.
TEST(Statfs, FieldsSitAtTheDocumentedOffsets) {
    ASSERT_EQ(statfs64::Layout::kSize, 2168u);
    std::vector<unsigned char> bytes(2168, 0xaa);
    statfs64::Layout::encode(sampleRecord(), bytes.data());
    EXPECT_EQ(statfs64::Layout::decode(bytes.data()), sampleRecord());

    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 0), 4096u);
    EXPECT_EQ(readLE<int32_t>(bytes.data(), 4), -2);
    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 8), 0x23456789u) << "f_blocks, low word";
    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 12), 1u) << "f_blocks, high word";
    EXPECT_EQ(readLE<uint64_t>(bytes.data(), 16), 0x100000001ULL);
    EXPECT_EQ(readLE<uint64_t>(bytes.data(), 24), 0xffffffff00000000ULL);
    EXPECT_EQ(readLE<uint64_t>(bytes.data(), 32), 0x0102030405060708ULL);
    EXPECT_EQ(readLE<uint64_t>(bytes.data(), 40), 7u);
    EXPECT_EQ(readLE<uint64_t>(bytes.data(), 48), 0u) << "f_fsid stays zero";
    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 56), 501u);
    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 60), 0xef53u);
    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 64), 0x10805000u);
    EXPECT_EQ(readLE<uint32_t>(bytes.data(), 68), 1u);
    EXPECT_EQ(bytes[72], 'f');
    EXPECT_EQ(bytes[87], 'k') << "a 16-byte type name leaves no NUL";
    EXPECT_EQ(bytes[88], '/');
    EXPECT_EQ(bytes[1111], 'm') << "a 1024-byte mount point leaves no NUL";
    EXPECT_EQ(bytes[1112], 'f');
    EXPECT_EQ(bytes[2135], 'f');
    for (size_t i = 2136; i < 2168; ++i) {
        ASSERT_EQ(bytes[i], 0) << "f_reserved byte " << i;
    }
}

TEST(Statfs, OnlyNowaitAloneSparesTheServers) {
    EXPECT_FALSE(mountTableWaits(MNT_NOWAIT));
    EXPECT_TRUE(mountTableWaits(MNT_WAIT));
    EXPECT_TRUE(mountTableWaits(0));
    EXPECT_TRUE(mountTableWaits(MNT_NOWAIT | MNT_WAIT));
    EXPECT_TRUE(mountTableWaits(MNT_NOWAIT | MNT_DWAIT));
}

TEST(Statfs, EachThreadKeepsItsOwnMountBuffer) {
    StatfsRecord root = sampleRecord();
    root.mntonname = "/";
    const unsigned char* mine = nullptr;
    ASSERT_EQ(handOutMountTable({root, sampleRecord()}, &mine), 2);

    const unsigned char* theirs = nullptr;
    std::thread([&theirs] {
        StatfsRecord other;
        other.mntonname = "/other";
        EXPECT_EQ(handOutMountTable({other}, &theirs), 1);
        EXPECT_EQ(statfs64::Layout::decode(theirs).mntonname, "/other");
    }).join();

    EXPECT_EQ(statfs64::Layout::decode(mine).mntonname, "/")
        << "another thread's call leaves ours alone";
    EXPECT_EQ(statfs64::Layout::decode(mine + statfs64::Layout::kSize), sampleRecord());

    errno = 0;
    EXPECT_EQ(handOutMountTable({root}, nullptr), 0);
    EXPECT_EQ(errno, EFAULT);
    EXPECT_EQ(statfs64::Layout::decode(mine).mntonname, "/") << "a refused call keeps the buffer";
}
