// What the model tests rely on from the fixture backend and do not check themselves.
#include "BackendReads.h"

#include "platform/darwin/fixture/FixtureBackend.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>

using namespace darwin;
using namespace backendreads;

namespace {

KinfoProc process(int32_t pid, int32_t start, std::string comm) {
    return {.starttime = {start, 0}, .stat = SRUN, .pid = pid, .comm = std::move(comm)};
}

class FixtureBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.setProcessTable({process(1, 100, "launchd"), process(12, 200, "SpringBoard"),
                                 process(30, 300, "MobileSafari")});
    }

    FixtureBackend fixture;
};

} // namespace

TEST_F(FixtureBackendTest, ProcessTableAsGivenAndVanishedPidsAnswerNothing) {
    size_t length = 0;
    ASSERT_EQ(allProcesses(fixture, nullptr, &length), 0);
    EXPECT_EQ(length, (3 + kProcessTableSlack) * kinfo_proc::Layout::kSize);
    EXPECT_EQ(oneProcess(fixture, 12).process.comm, "SpringBoard");

    fixture.vanish(12);
    const OneProcess gone = oneProcess(fixture, 12);
    EXPECT_EQ(gone.result, 0) << "the kernel succeeds with no record";
    EXPECT_EQ(gone.length, 0u);
    EXPECT_EQ(oneProcess(fixture, 99).length, 0u);
    EXPECT_EQ(processTable(fixture)->size(), 3u) << "the dump still lists it";

    std::vector<unsigned char> dump(2 * kinfo_proc::Layout::kSize + 7);
    kinfo_proc::Layout::encode(process(5, 1, "odd"), dump.data());
    fixture.setProcessTableBytes(dump);
    std::vector<unsigned char> buffer(dump.size() + 100);
    length = buffer.size();
    ASSERT_EQ(allProcesses(fixture, buffer.data(), &length), 0);
    EXPECT_EQ(length, dump.size()) << "an odd-sized dump is served as it is";
    EXPECT_EQ(oneProcess(fixture, 5).process.comm, "odd");

    fixture.failProcessTable(EPERM);
    EXPECT_EQ(allProcesses(fixture, nullptr, &length), -1);
    EXPECT_EQ(errno, EPERM);
    EXPECT_EQ(oneProcess(fixture, 5).length, kinfo_proc::Layout::kSize)
        << "per-process queries still answer";
}

TEST_F(FixtureBackendTest, SignalsReachOnlyTheProcessThatStartedThen) {
    EXPECT_EQ(fixture.killProcessStartedAt(12, 200, SIGTERM), 0);
    EXPECT_EQ(fixture.killProcessStartedAt(30, 299, SIGKILL), -1) << "pid reused";
    EXPECT_EQ(errno, ESRCH);
    fixture.vanish(1);
    EXPECT_EQ(fixture.killProcessStartedAt(1, 100, SIGKILL), -1);
    EXPECT_EQ(errno, ESRCH);
    fixture.failSignals(EPERM);
    EXPECT_EQ(fixture.killProcessStartedAt(30, 1, SIGTERM), -1);
    EXPECT_EQ(errno, ESRCH) << "a wrong process is reported before a refusal";
    EXPECT_EQ(fixture.signalsSent(), (std::vector<FixtureBackend::SentSignal>{{12, 200, SIGTERM}}));
}

// Else the memory model's fallback to the 32-bit counters would go untested.
TEST_F(FixtureBackendTest, AMemoryReadingIsNeverDerivedFromTheOther) {
    fixture.setVmStatistics(VmStatistics{7});
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    EXPECT_EQ(fixture.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_FAILURE);
}
