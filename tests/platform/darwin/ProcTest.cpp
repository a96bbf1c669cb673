#include "platform/darwin/Proc.h"
#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(KinfoProc, RoundTripsEveryFieldAtTheDeviceOffsets) {
    std::array<unsigned char, kinfo_proc::Layout::kSize> record;
    record.fill(0xaa);
    const KinfoProc process = sampleProcess();
    kinfo_proc::Layout::encode(process, record.data());
    EXPECT_EQ(kinfo_proc::Layout::decode(record.data()), process);

    // A few fields read back through the raw offsets, the odd ones included.
    EXPECT_EQ(readLE<int32_t>(record.data(), 24), 0x01020304);
    EXPECT_EQ(record[160], 200);
    EXPECT_EQ(record[162], 0xec) << "p_nice -20";
    EXPECT_EQ(record[163], 'M') << "p_comm starts at the odd offset 163";
    EXPECT_EQ(record[163 + 15], 'e');
    EXPECT_EQ(record[163 + 16], 0) << "a 16-character name: byte 16 is the only NUL";
    EXPECT_EQ(readLE<int32_t>(record.data(), 428), -1);
    EXPECT_EQ(readLE<int16_t>(record.data(), 452), -3);
    // Everything the device's kernel leaves zero: padding, pointers, the other groups.
    EXPECT_EQ(record[21], 0);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 8), 0u);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 316), 0u);
    EXPECT_EQ(record[491], 0);
}

TEST(KinfoProc, NamesAreCutToSixteenBytesAndShortOnesPadded) {
    KinfoProc process;
    process.comm = "a-name-longer-than-sixteen";
    std::array<unsigned char, kinfo_proc::Layout::kSize> record;
    kinfo_proc::Layout::encode(process, record.data());
    EXPECT_EQ(kinfo_proc::Layout::decode(record.data()).comm, "a-name-longer-th");
    EXPECT_EQ(record[163 + 16], 0);

    process.comm = "sh";
    kinfo_proc::Layout::encode(process, record.data());
    EXPECT_EQ(kinfo_proc::Layout::decode(record.data()).comm, "sh");
    EXPECT_EQ(record[163 + 2], 0);
}

TEST(KinfoProc, DeviceCharFieldsAreSigned) {
    std::array<unsigned char, kinfo_proc::Layout::kSize> record{};
    record[20] = 0x85;
    record[162] = 0xff;
    record[160] = 0xff;
    // A raw record whose p_comm has no NUL at all still yields at most 16 characters.
    for (size_t i = 0; i < 17; ++i) {
        record[163 + i] = 'x';
    }
    const KinfoProc process = kinfo_proc::Layout::decode(record.data());
    EXPECT_EQ(process.stat, -123);
    EXPECT_EQ(process.nice, -1);
    EXPECT_EQ(process.priority, 255) << "p_priority is unsigned";
    EXPECT_EQ(process.comm, std::string(16, 'x'));
}

TEST(ProcTaskInfo, RoundTripsAboveThirtyTwoBits) {
    ProcTaskInfo info;
    info.virtualSize = 0x123456789aULL;
    info.residentSize = (5ULL << 32) + 1572864;
    info.totalSystem = 7;
    info.faults = -1;
    info.priority = 31;
    std::array<unsigned char, proc_taskinfo::Layout::kSize> record{};
    proc_taskinfo::Layout::encode(info, record.data());
    EXPECT_EQ(proc_taskinfo::Layout::decode(record.data()), info);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 8), 1572864u);
    EXPECT_EQ(readLE<uint32_t>(record.data(), 12), 5u);
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
