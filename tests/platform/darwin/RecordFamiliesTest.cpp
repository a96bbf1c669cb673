// Each device record family against darwin-abi.md: every field written at its literal
// offset (checked byte by byte, not through the layout code), the rest zero, and the
// device's decoding rules.
#include "RecordBytes.h"

#include "platform/darwin/Mach.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Statfs.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <thread>

using namespace darwin;
using namespace recordbytes;

namespace {

// Encoded over a filled buffer of the documented size; decoding gives the value back.
template <typename Layout, typename T>
std::vector<unsigned char> encoded(const T& value, size_t documentedSize, unsigned char fill) {
    std::vector<unsigned char> record(Layout::kSize, fill);
    EXPECT_EQ(record.size(), documentedSize);
    Layout::encode(value, record.data());
    EXPECT_EQ(Layout::decode(record.data()), value);
    return record;
}

} // namespace

// Every field at its offset in darwin-abi.md, section 2.1; the rest of the 492 bytes zero.
TEST(KinfoProc, FieldsSitAtTheDocumentedOffsets) {
    // Every field distinct; p_comm 16 characters, so byte 16 is its only NUL.
    const KinfoProc process(Timeval32{1700000123, 999999}, P_CONTROLT | P_EXEC | P_TRACED, SSTOP,
                            0x01020304, 200, 7, -20, "MobileMusicPlaye", 501, 0xfffffffeu, 1,
                            0x80000001u, 1, 0x7fffffff, NODEV_DARWIN, -2, -3);
    const auto record = encoded<kinfo_proc::Layout>(process, 492, 0xaa);
    expectRecord(record, {at(0, int32_t(1700000123)), at(4, int32_t(999999)),
                          at(16, P_CONTROLT | P_EXEC | P_TRACED), at(20, SSTOP),
                          at(24, int32_t(0x01020304)), at(160, uint8_t(200)), at(161, uint8_t(7)),
                          at(162, int8_t(-20)), chars(163, "MobileMusicPlaye"),
                          at(280, uint32_t(501)), at(304, 0xfffffffeu), at(308, int16_t(1)),
                          at(312, 0x80000001u), at(416, int32_t(1)), at(420, int32_t(0x7fffffff)),
                          at(428, int32_t(-1)), at(448, int32_t(-2)), at(452, int16_t(-3))});
    EXPECT_EQ(kinfo_proc::Layout::read<&KinfoProc::pid>(record.data()), 0x01020304);
}

TEST(KinfoProc, CharsAreSignedAndNamesStopAtSixteenBytes) {
    std::vector<unsigned char> record(kinfo_proc::Layout::kSize);
    record[20] = 0x85;                          // p_stat
    record[160] = 0xff;                         // p_priority
    record[162] = 0xff;                         // p_nice
    std::fill_n(record.begin() + 163, 17, 'x'); // p_comm without any NUL
    const KinfoProc process = kinfo_proc::Layout::decode(record.data());
    EXPECT_EQ(process.stat, -123);
    EXPECT_EQ(process.priority, 255) << "p_priority is unsigned";
    EXPECT_EQ(process.nice, -1);
    EXPECT_EQ(process.comm, std::string(16, 'x'));
}

// darwin-abi.md, section 2.4: 64-bit counters above 2^32, no padding.
TEST(ProcTaskInfo, FieldsSitAtTheDocumentedOffsets) {
    const ProcTaskInfo info(0x123456789aULL, (5ULL << 32) + 1572864, 3, 4, 5, 6, 7, -1, 9, 10, 11,
                            12, 13, 14, 15, 16, 17, 18);
    expectRecord(encoded<proc_taskinfo::Layout>(info, 96, 0xaa),
                 {at(0, uint64_t(0x123456789a)), at(8, uint32_t(1572864)), at(12, uint32_t(5)),
                  at(16, uint64_t(3)), at(24, uint64_t(4)), at(32, uint64_t(5)),
                  at(40, uint64_t(6)), at(48, int32_t(7)), at(52, int32_t(-1)), at(56, int32_t(9)),
                  at(60, int32_t(10)), at(64, int32_t(11)), at(68, int32_t(12)),
                  at(72, int32_t(13)), at(76, int32_t(14)), at(80, int32_t(15)),
                  at(84, int32_t(16)), at(88, int32_t(17)), at(92, int32_t(18))});
}

TEST(ProcessQuery, FollowsTheKernelsNameRules) {
    EXPECT_TRUE(processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_ALL}).value_or(ProcessQuery{}).all);
    EXPECT_TRUE(
        processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_ALL, 0}).value_or(ProcessQuery{}).all)
        << "an unused word";
    const auto one = processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_PID, 42});
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->all);
    EXPECT_EQ(one->pid, 42);
    EXPECT_FALSE(processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_PID}));
    EXPECT_EQ(errno, EINVAL) << "no pid";
    EXPECT_FALSE(processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_UID, 501}));
    EXPECT_EQ(errno, ENOENT) << "selections by user are not served";
}

// darwin-abi.md, section 3: fifteen words in the kernel's order.
TEST(VmStatistics, WordsFollowTheKernelRecord) {
    const VmStatistics statistics{101,         102, 103, 104, 105, 106, 107, 108,
                                  0xfffffff9u, 110, 111, 112, 113, 114, 115};
    std::array<natural_t, 15> words{};
    ASSERT_EQ(vm_statistics::Layout::kSize, sizeof words);
    vm_statistics::Layout::encode(statistics, words.data());
    EXPECT_EQ(vm_statistics::Layout::decode(words.data()), statistics);
    EXPECT_EQ(words, (std::array<natural_t, 15>{101, 102, 103, 104, 105, 106, 107, 108, 0xfffffff9u,
                                                110, 111, 112, 113, 114, 115}));
}

// The 24-word form: 64-bit counters as two words, the low one first; purges before the two
// narrow page counts. The 32-bit record keeps the low word of each counter.
TEST(VmStatistics64, WideCountersTakeTwoWordsLowFirstAndTruncateToTheirLowWord) {
    const VmStatistics64 statistics(201, 202, 203, 0xfffffffeu, 0x100000005ULL, 0x200000006ULL,
                                    0x300000007ULL, 0x400000008ULL, 0x500000009ULL, 0x60000000aULL,
                                    0x70000000bULL, 0x80000000cULL, ~0ULL, 214, 215);
    std::array<natural_t, 24> words{};
    ASSERT_EQ(vm_statistics64::Layout::kSize, sizeof words);
    vm_statistics64::Layout::encode(statistics, words.data());
    EXPECT_EQ(vm_statistics64::Layout::decode(words.data()), statistics);
    EXPECT_EQ(words,
              (std::array<natural_t, 24>{201, 202, 203,         0xfffffffeu, 5,   1,  6, 2,  7,
                                         3,   8,   4,           9,           5,   10, 6, 11, 7,
                                         12,  8,   0xffffffffu, 0xffffffffu, 214, 215}));

    EXPECT_EQ(truncatedVmStatistics(statistics),
              (VmStatistics{201, 202, 203, 0xfffffffeu, 5, 6, 7, 8, 9, 10, 11, 12, 214, 0xffffffffu,
                            215}));
}

namespace {

// More than 2^32 blocks; every name fills its field, leaving no NUL.
StatfsRecord sampleRecord() {
    return StatfsRecord(4096, -2, 0x123456789ULL, 0x100000001ULL, 0xffffffff00000000ULL,
                        0x0102030405060708ULL, 7, 501, 0xef53,
                        MNT_LOCAL | MNT_ROOTFS | MNT_JOURNALED | MNT_NOATIME, 1, "fuse.abcdefghijk",
                        "/" + std::string(1023, 'm'), std::string(1024, 'f'));
}

} // namespace

// darwin-abi.md, section 4; f_fsid and f_reserved stay zero.
TEST(Statfs, FieldsSitAtTheDocumentedOffsets) {
    expectRecord(encoded<statfs64::Layout>(sampleRecord(), 2168, 0xaa),
                 {at(0, uint32_t(4096)), at(4, int32_t(-2)), at(8, uint32_t(0x23456789)),
                  at(12, uint32_t(1)), at(16, uint64_t(0x100000001)),
                  at(24, uint64_t(0xffffffff00000000)), at(32, uint64_t(0x0102030405060708)),
                  at(40, uint64_t(7)), at(56, uint32_t(501)), at(60, uint32_t(0xef53)),
                  at(64, uint32_t(0x10805000)), at(68, uint32_t(1)), chars(72, "fuse.abcdefghijk"),
                  chars(88, "/" + std::string(1023, 'm')), chars(1112, std::string(1024, 'f'))});
}

TEST(Statfs, EachThreadKeepsItsOwnMountBuffer) {
    const unsigned char* mine = nullptr;
    ASSERT_EQ(handOutMountTable({StatfsRecord{}, sampleRecord()}, &mine), 2);
    std::thread([] {
        const unsigned char* theirs = nullptr;
        EXPECT_EQ(handOutMountTable({sampleRecord()}, &theirs), 1);
        EXPECT_EQ(statfs64::Layout::decode(theirs), sampleRecord());
    }).join();
    EXPECT_EQ(statfs64::Layout::decode(mine), StatfsRecord{}) << "another thread leaves ours alone";
    EXPECT_EQ(statfs64::Layout::decode(mine + statfs64::Layout::kSize), sampleRecord());

    errno = 0;
    EXPECT_EQ(handOutMountTable({sampleRecord()}, nullptr), 0);
    EXPECT_EQ(errno, EFAULT);
    EXPECT_EQ(statfs64::Layout::decode(mine), StatfsRecord{}) << "a refused call keeps the buffer";
}

namespace {

// Every text as long as its field, so a field of the wrong width shows.
UtmpxEntry fullWidthEntry() {
    return UtmpxEntry(std::string(256, 'u'), "s012", std::string(32, 'l'), std::string(256, 'h'),
                      0x01020304, utmpx::DEAD_PROCESS, Timeval32{-5, 999999});
}

} // namespace

// darwin-abi.md, section 7: padding after ut_type and ut_pad stay zero.
TEST(Utmpx, FieldsSitAtTheDocumentedOffsets) {
    auto record = encoded<utmpx::Layout>(fullWidthEntry(), 628, 0xee);
    expectRecord(record, {chars(0, std::string(256, 'u')), chars(256, "s012"),
                          chars(260, std::string(32, 'l')), at(292, int32_t(0x01020304)),
                          at(296, int16_t(8)), at(300, int32_t(-5)), at(304, int32_t(999999)),
                          chars(308, std::string(256, 'h'))});

    UtmpxEntry oversized;
    oversized.id = "toolong";
    oversized.line = std::string(40, 'x');
    utmpx::Layout::encode(oversized, record.data());
    const UtmpxEntry decoded = utmpx::Layout::decode(record.data());
    EXPECT_EQ(decoded.id, "tool");
    EXPECT_EQ(decoded.line, std::string(32, 'x'));
    EXPECT_EQ(decoded.pid, 0) << "the line must not spill into ut_pid";
}

// The C library writes a signature record first: all zero but ut_user and ut_type.
TEST(Utmpx, FileStartsWithTheSignatureRecord) {
    const std::vector<unsigned char> file = encodeUtmpxFile({fullWidthEntry(), UtmpxEntry{}});
    ASSERT_EQ(file.size(), 3 * 628u);
    expectRecord({file.begin(), file.begin() + 628},
                 {chars(0, "utmpx-1.00"), at(296, int16_t(10))});
    EXPECT_EQ(utmpx::Layout::decode(file.data()), utmpxSignatureEntry());
    EXPECT_EQ(utmpx::Layout::decode(file.data() + 628), fullWidthEntry());
    EXPECT_EQ(utmpx::Layout::decode(file.data() + 2 * 628), UtmpxEntry{});
}
