#include "platform/darwin/Proc.h"
#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>

using namespace darwin;

namespace {

KinfoProc sampleProcess() {
    KinfoProc process;
    process.starttime = {1700000123, 999999};
    process.flag = P_CONTROLT | P_EXEC | P_TRACED;
    process.stat = SSTOP;
    process.pid = 0x01020304;
    process.priority = 200;
    process.usrpri = 7;
    process.nice = -20;
    process.comm = "MobileMusicPlaye"; // 16 characters
    process.ruid = 501;
    process.uid = 0xfffffffeu;
    process.ngroups = 1;
    process.gid0 = 0x80000001u;
    process.ppid = 1;
    process.pgid = 0x7fffffff;
    process.tdev = NODEV_DARWIN;
    process.xsize = -2;
    process.xrssize = -3;
    return process;
}

using KinfoProcBytes = std::array<unsigned char, 492>;

} // namespace

// Every field at its offset in darwin-abi.md, section 2.1.
TEST(KinfoProc, FieldsSitAtTheDocumentedOffsets) {
    ASSERT_EQ(kinfo_proc::Layout::kSize, 492u);
    KinfoProcBytes record;
    record.fill(0xaa);
    const KinfoProc process = sampleProcess();
    kinfo_proc::Layout::encode(process, record.data());
    EXPECT_EQ(kinfo_proc::Layout::decode(record.data()), process);

    EXPECT_EQ(readLE<int32_t>(record.data(), 0), 1700000123) << "p_starttime.tv_sec";
    EXPECT_EQ(readLE<int32_t>(record.data(), 4), 999999) << "p_starttime.tv_usec";
    EXPECT_EQ(readLE<int32_t>(record.data(), 16), P_CONTROLT | P_EXEC | P_TRACED);
    EXPECT_EQ(record[20], SSTOP);
    EXPECT_EQ(readLE<int32_t>(record.data(), 24), 0x01020304);
    EXPECT_EQ(record[160], 200);
    EXPECT_EQ(record[161], 7);
    EXPECT_EQ(record[162], 0xec) << "p_nice -20";
    EXPECT_EQ(record[163], 'M') << "p_comm starts at the odd offset 163";
    EXPECT_EQ(record[163 + 15], 'e');
    EXPECT_EQ(record[163 + 16], 0) << "a 16-character name: byte 16 is the only NUL";
    EXPECT_EQ(readLE<uint32_t>(record.data(), 280), 501u);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 304), 0xfffffffeu);
    EXPECT_EQ(readLE<int16_t>(record.data(), 308), 1);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 312), 0x80000001u);
    EXPECT_EQ(readLE<int32_t>(record.data(), 416), 1);
    EXPECT_EQ(readLE<int32_t>(record.data(), 420), 0x7fffffff);
    EXPECT_EQ(readLE<int32_t>(record.data(), 428), -1);
    EXPECT_EQ(readLE<int32_t>(record.data(), 448), -2);
    EXPECT_EQ(readLE<int16_t>(record.data(), 452), -3);
    // Everything the device's kernel leaves zero: padding, pointers, the other groups.
    EXPECT_EQ(record[21], 0);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 8), 0u);
    EXPECT_EQ(readLE<uint16_t>(record.data(), 310), 0u);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 316), 0u);
    EXPECT_EQ(record[491], 0);
    EXPECT_EQ(kinfo_proc::Layout::read<&KinfoProc::pid>(record.data()), 0x01020304);
}

TEST(KinfoProc, CommandNamesKeepAtMostSixteenBytes) {
    KinfoProc process;
    process.comm = "a-name-longer-than-sixteen";
    KinfoProcBytes record;
    kinfo_proc::Layout::encode(process, record.data());
    EXPECT_EQ(kinfo_proc::Layout::decode(record.data()).comm, "a-name-longer-th");
    EXPECT_EQ(record[163 + 16], 0);

    process.comm = "sh";
    kinfo_proc::Layout::encode(process, record.data());
    EXPECT_EQ(kinfo_proc::Layout::decode(record.data()).comm, "sh");
    EXPECT_EQ(record[163 + 2], 0);
}

TEST(KinfoProc, RawCharFieldsDecodeAsOnTheDevice) {
    KinfoProcBytes record{};
    record[20] = 0x85;                          // p_stat
    record[162] = 0xff;                         // p_nice
    record[160] = 0xff;                         // p_priority
    std::fill_n(record.begin() + 163, 17, 'x'); // p_comm without any NUL
    const KinfoProc process = kinfo_proc::Layout::decode(record.data());
    EXPECT_EQ(process.stat, -123);
    EXPECT_EQ(process.nice, -1);
    EXPECT_EQ(process.priority, 255) << "p_priority is unsigned";
    EXPECT_EQ(process.comm, std::string(16, 'x'));
}

// darwin-abi.md, section 2.4.
TEST(ProcTaskInfo, FieldsSitAtTheDocumentedOffsetsAboveThirtyTwoBits) {
    ASSERT_EQ(proc_taskinfo::Layout::kSize, 96u);
    ProcTaskInfo info;
    info.virtualSize = 0x123456789aULL;
    info.residentSize = (5ULL << 32) + 1572864;
    info.totalSystem = 7;
    info.threadsSystem = 9;
    info.policy = 3;
    info.faults = -1;
    info.csw = 11;
    info.priority = 31;
    std::array<unsigned char, 96> record{};
    proc_taskinfo::Layout::encode(info, record.data());
    EXPECT_EQ(proc_taskinfo::Layout::decode(record.data()), info);
    EXPECT_EQ(readLE<uint64_t>(record.data(), 0), 0x123456789aULL);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 8), 1572864u);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 12), 5u);
    EXPECT_EQ(readLE<uint64_t>(record.data(), 24), 7u);
    EXPECT_EQ(readLE<uint64_t>(record.data(), 40), 9u);
    EXPECT_EQ(readLE<int32_t>(record.data(), 48), 3);
    EXPECT_EQ(readLE<int32_t>(record.data(), 52), -1);
    EXPECT_EQ(readLE<int32_t>(record.data(), 80), 11);
    EXPECT_EQ(readLE<int32_t>(record.data(), 92), 31);
}

TEST(ProcessQuery, FollowsTheKernelsNameRules) {
    const auto all = processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_ALL});
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->all);
    EXPECT_TRUE(processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_ALL, 0})) << "one unused word";
    const auto one = processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_PID, 42});
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->all);
    EXPECT_EQ(one->pid, 42);

    errno = 0;
    EXPECT_FALSE(processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_PID}));
    EXPECT_EQ(errno, EINVAL) << "no pid";
    EXPECT_FALSE(processQueryOf({CTL_KERN, KERN_PROC}));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(processQueryOf({CTL_KERN, KERN_PROC, KERN_PROC_UID, 501}));
    EXPECT_EQ(errno, ENOENT) << "selections by user are not served";
}
