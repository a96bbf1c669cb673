#include "ProcessTableReads.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace darwin;
using namespace processreads;

namespace {

KinfoProc process(int32_t pid, int32_t start, std::string comm) {
    KinfoProc record;
    record.pid = pid;
    record.starttime.sec = start;
    record.comm = std::move(comm);
    record.stat = SRUN;
    return record;
}

class FixtureProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.setProcessTable({process(1, 100, "launchd"), process(12, 200, "SpringBoard"),
                                 process(30, 300, "MobileSafari")});
    }

    FixtureBackend fixture;
};

} // namespace

TEST_F(FixtureProcessTest, ProbeLeavesRoomForFiveMoreRecords) {
    size_t length = 0;
    ASSERT_EQ(allProcesses(fixture, nullptr, &length), 0);
    EXPECT_EQ(length, (3 + kProcessTableSlack) * kinfo_proc::Layout::kSize);

    std::vector<unsigned char> buffer(length);
    ASSERT_EQ(allProcesses(fixture, buffer.data(), &length), 0);
    EXPECT_EQ(length, 3 * kinfo_proc::Layout::kSize) << "a fill reports the bytes written";
    EXPECT_EQ(kinfo_proc::Layout::decode(buffer.data() + kinfo_proc::Layout::kSize).comm,
              "SpringBoard");
}

TEST_F(FixtureProcessTest, ShortBufferGetsTheWholeRecordsThatFitAndENOMEM) {
    std::vector<unsigned char> buffer(2 * kinfo_proc::Layout::kSize + 100, 0xaa);
    size_t length = buffer.size();
    EXPECT_EQ(allProcesses(fixture, buffer.data(), &length), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, 2 * kinfo_proc::Layout::kSize);
    EXPECT_EQ(kinfo_proc::Layout::decode(buffer.data() + kinfo_proc::Layout::kSize).pid, 12);
    EXPECT_EQ(buffer[2 * kinfo_proc::Layout::kSize], 0xaa) << "no part of a record";

    length = 100;
    EXPECT_EQ(allProcesses(fixture, buffer.data(), &length), -1);
    EXPECT_EQ(length, 0u);
}

TEST_F(FixtureProcessTest, OddSizedDumpsAndFailuresAreServedAsGiven) {
    std::vector<unsigned char> dump(2 * kinfo_proc::Layout::kSize + 7);
    kinfo_proc::Layout::encode(process(5, 1, "odd"), dump.data());
    fixture.setProcessTableBytes(dump);
    size_t length = dump.size();
    std::vector<unsigned char> buffer(length);
    ASSERT_EQ(allProcesses(fixture, buffer.data(), &length), 0);
    EXPECT_EQ(length, dump.size());
    EXPECT_EQ(oneProcess(fixture, 5).process.comm, "odd");

    fixture.failProcessTable(EPERM);
    EXPECT_EQ(allProcesses(fixture, nullptr, &length), -1);
    EXPECT_EQ(errno, EPERM);
    EXPECT_EQ(oneProcess(fixture, 5).length, kinfo_proc::Layout::kSize)
        << "per-process queries answer";
}

TEST_F(FixtureProcessTest, PerProcessQueryAnswersNothingForAbsentOrVanishedPids) {
    OneProcess answer = oneProcess(fixture, 12);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.length, kinfo_proc::Layout::kSize);
    EXPECT_EQ(answer.process.comm, "SpringBoard");

    fixture.vanish(12);
    answer = oneProcess(fixture, 12);
    EXPECT_EQ(answer.result, 0) << "the kernel succeeds with no record";
    EXPECT_EQ(answer.length, 0u);
    EXPECT_EQ(oneProcess(fixture, 99).length, 0u);
    EXPECT_EQ(processTable(fixture)->size(), 3u) << "the dump still lists it";
}

TEST_F(FixtureProcessTest, TaskInfoNamesAndIds) {
    fixture.setTaskInfo(12, 1572864);
    fixture.failTaskInfo(30, EPERM);
    unsigned char info[proc_taskinfo::Layout::kSize];
    EXPECT_EQ(fixture.proc_pidinfo(12, PROC_PIDTASKINFO, 0, info, sizeof info), 96);
    EXPECT_EQ(proc_taskinfo::Layout::decode(info).residentSize, 1572864u);
    errno = 0;
    EXPECT_EQ(fixture.proc_pidinfo(30, PROC_PIDTASKINFO, 0, info, sizeof info), 0);
    EXPECT_EQ(errno, EPERM);
    EXPECT_EQ(fixture.proc_pidinfo(1, PROC_PIDTASKINFO, 0, info, sizeof info), 0);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(fixture.proc_pidinfo(12, PROC_PIDTASKINFO, 0, info, 95), 0);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(fixture.proc_pidinfo(12, PROC_PIDTASKINFO + 1, 0, info, sizeof info), 0);
    EXPECT_EQ(errno, EINVAL);

    fixture.setUserName(501, "mobile");
    fixture.setGroupName(501, "mobile");
    EXPECT_EQ(fixture.userName(501), "mobile");
    EXPECT_EQ(fixture.groupName(501), "mobile");
    EXPECT_EQ(fixture.userName(0), std::nullopt);
    EXPECT_EQ(fixture.getuid(), FixtureBackend::kDefaultUid);
    fixture.setIds(0, 12);
    EXPECT_EQ(fixture.getuid(), 0u);
    EXPECT_EQ(fixture.getpid(), 12);
}

TEST_F(FixtureProcessTest, SignalsReachOnlyTheProcessThatStartedThen) {
    EXPECT_EQ(fixture.killProcessStartedAt(12, 200, SIGTERM), 0);
    errno = 0;
    EXPECT_EQ(fixture.killProcessStartedAt(30, 299, SIGKILL), -1) << "pid reused";
    EXPECT_EQ(errno, ESRCH);
    fixture.vanish(1);
    EXPECT_EQ(fixture.killProcessStartedAt(1, 100, SIGKILL), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(fixture.kill(30, SIGKILL), 0);
    EXPECT_EQ(fixture.kill(31, SIGKILL), -1);

    fixture.failSignals(EPERM);
    EXPECT_EQ(fixture.killProcessStartedAt(30, 300, SIGTERM), -1);
    EXPECT_EQ(errno, EPERM);
    EXPECT_EQ(fixture.killProcessStartedAt(30, 1, SIGTERM), -1);
    EXPECT_EQ(errno, ESRCH) << "a wrong process is reported before a refusal";

    using Sent = FixtureBackend::SentSignal;
    const std::vector<Sent> expected = {{12, 200, SIGTERM}, {30, std::nullopt, SIGKILL}};
    EXPECT_EQ(fixture.signalsSent(), expected);
}
