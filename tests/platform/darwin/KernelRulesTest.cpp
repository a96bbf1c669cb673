// The kernel's rules that every backend answers by, tested once here rather than through
// each backend.
#include "platform/darwin/HostStatisticsRequest.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/SysctlRequest.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>

using namespace darwin;

namespace {

using Bytes = std::vector<unsigned char>;

const int kName[] = {CTL_KERN, KERN_BOOTTIME};
const Bytes kValue = {1, 2, 3, 4, 5, 6, 7, 8};
const Bytes kTable(30, 0x11); // three records of 10 bytes

// One call answered with kValue, or with kTable the way the process table is answered; a
// size probe is told 100 bytes more.
int answer(void* oldp, size_t* oldlenp, const void* newp = nullptr, bool table = false) {
    errno = 0;
    const SysctlRequest request(kName, 2, oldp, oldlenp, newp, newp != nullptr ? 4 : 0);
    return table ? request.replyTable(kTable.data(), kTable.size(), 10, 130)
                 : request.reply(kValue.data(), kValue.size(), kValue.size() + 100);
}

} // namespace

TEST(SysctlRequest, ProbeCopyAndRefusalsFollowTheKernel) {
    size_t length = 0;
    ASSERT_EQ(answer(nullptr, &length), 0);
    EXPECT_EQ(length, 108u) << "a probe reports the size with its slack";
    Bytes buffer(9, 0xaa);
    length = buffer.size();
    ASSERT_EQ(answer(buffer.data(), &length), 0);
    EXPECT_EQ(length, 8u) << "a fill reports the bytes copied";
    EXPECT_EQ(buffer, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0xaa}));

    // Refusals copy nothing.
    buffer.assign(8, 0xaa);
    const int32_t newValue = 1;
    EXPECT_EQ(answer(buffer.data(), &length, &newValue), -1);
    EXPECT_EQ(errno, EPERM) << "read-only";
    length = 7;
    EXPECT_EQ(answer(buffer.data(), &length), -1);
    EXPECT_EQ(errno, ENOMEM) << "not even in part";
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(buffer, Bytes(8, 0xaa));

    const int name[CTL_MAXNAME + 1] = {CTL_KERN, KERN_BOOTTIME};
    const auto valid = [&](const int* mib, unsigned namelen) {
        return SysctlRequest(mib, namelen, nullptr, &length, nullptr, 0).nameIsValid();
    };
    EXPECT_TRUE(valid(name, CTL_MAXNAME));
    EXPECT_FALSE(valid(name, 1));
    EXPECT_FALSE(valid(name, CTL_MAXNAME + 1));
}

TEST(SysctlRequest, AShortBufferGetsTheWholeRecordsThatFit) {
    size_t length = 0;
    ASSERT_EQ(answer(nullptr, &length, nullptr, true), 0);
    EXPECT_EQ(length, 130u);
    Bytes buffer(25, 0xaa);
    length = buffer.size();
    EXPECT_EQ(answer(buffer.data(), &length, nullptr, true), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, 20u);
    EXPECT_EQ(buffer[19], 0x11);
    EXPECT_EQ(buffer[20], 0xaa) << "no part of a record";
    length = 9;
    EXPECT_EQ(answer(buffer.data(), &length, nullptr, true), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, 0u);
}

TEST(HostStatisticsRequest, ShortCountsGetOlderRevisionsOrNothing) {
    const VmStatistics statistics{101, 102, 103, 104, 105, 106, 107, 108,
                                  109, 110, 111, 112, 113, 114, 115};
    const std::pair<natural_t, natural_t> countsAndWords[] = {
        {12, 12}, {13, 12}, {14, 14}, {15, 15}, {30, 15}};
    for (const auto& [asked, written] : countsAndWords) {
        std::array<int32_t, 30> info;
        info.fill(-1);
        natural_t count = asked;
        ASSERT_EQ(
            HostStatisticsRequest(kHostPort, HOST_VM_INFO, info.data(), &count).reply(statistics),
            KERN_SUCCESS);
        EXPECT_EQ(count, written) << "count " << asked;
        EXPECT_EQ(info[written - 1], static_cast<int32_t>(100 + written));
        EXPECT_EQ(info[written], -1) << "nothing past the revision the count holds";
    }

    std::array<int32_t, 30> info{};
    natural_t count = HOST_VM_INFO_REV0_COUNT - 1;
    EXPECT_EQ(HostStatisticsRequest(kHostPort, HOST_VM_INFO, info.data(), &count).reply(statistics),
              KERN_FAILURE);
    EXPECT_EQ(count, 11u);
    count = HOST_VM_INFO64_COUNT - 1;
    EXPECT_EQ(HostStatisticsRequest(kHostPort, HOST_VM_INFO64, info.data(), &count)
                  .reply(VmStatistics64{1, 2, 3}),
              KERN_FAILURE);
    EXPECT_EQ(info, (std::array<int32_t, 30>{})) << "nothing written by a refusal";
}

// The base class and the shared helpers check the arguments for every backend; the
// fixture stands in for any.
TEST(BackendRules, ArgumentsAreCheckedAsTheKernelDoes) {
    FixtureBackend backend;
    backend.setVmStatistics(VmStatistics{7});
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO_COUNT;
    EXPECT_EQ(backend.host_statistics64(kHostPort, HOST_VM_INFO, info.data(), &count), KERN_SUCCESS)
        << "HOST_VM_INFO through host_statistics64 is passed on, as xnu does";
    EXPECT_EQ(info[0], 7);
    EXPECT_EQ(backend.host_statistics(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_INVALID_ARGUMENT);
    EXPECT_EQ(backend.host_statistics(MACH_PORT_NULL, HOST_VM_INFO, info.data(), &count),
              KERN_INVALID_HOST);
    EXPECT_EQ(backend.host_statistics(kHostPort, HOST_VM_INFO, nullptr, &count),
              KERN_INVALID_ARGUMENT);

    vm_size_t size = 0;
    EXPECT_EQ(replyPageSize(MACH_PORT_NULL, &size, 4096), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(replyPageSize(kHostPort, nullptr, 4096), KERN_INVALID_ARGUMENT);
    EXPECT_EQ(size, 0u);

    // proc_pidinfo(PROC_PIDTASKINFO) wants that flavour and room for the whole record.
    unsigned char record[proc_taskinfo::Layout::kSize] = {};
    EXPECT_TRUE(taskInfoRequestIsValid(PROC_PIDTASKINFO, record, sizeof record));
    EXPECT_FALSE(taskInfoRequestIsValid(PROC_PIDTASKINFO + 1, record, sizeof record));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(taskInfoRequestIsValid(PROC_PIDTASKINFO, record, sizeof record - 1));
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_FALSE(taskInfoRequestIsValid(PROC_PIDTASKINFO, nullptr, sizeof record));
    EXPECT_EQ(errno, EFAULT);
}
