#include "process/ProcessStatus.h"
#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/fixture/FixtureBackend.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

struct ProcessStatusTestAccess {
    static std::unique_ptr<ProcessStatus> make() {
        return std::unique_ptr<ProcessStatus>(new ProcessStatus());
    }
};

namespace {

using darwin::KinfoProc;

constexpr std::time_t kNow = 1'700'000'000;

// Counts the account lookups a snapshot makes.
class CountingBackend : public darwin::FixtureBackend {
public:
    std::optional<std::string> userName(uint32_t uid) override {
        ++userLookups;
        return FixtureBackend::userName(uid);
    }
    std::optional<std::string> groupName(uint32_t gid) override {
        ++groupLookups;
        return FixtureBackend::groupName(gid);
    }
    int userLookups = 0;
    int groupLookups = 0;
};

KinfoProc process(int32_t pid, const std::string& comm, uint32_t uid = 501,
                  int8_t stat = darwin::SSLEEP) {
    KinfoProc p;
    p.pid = pid;
    p.ppid = 1;
    p.pgid = pid;
    p.comm = comm;
    p.uid = uid;
    p.gid0 = uid;
    p.stat = stat;
    p.priority = 31;
    p.starttime.sec = static_cast<int32_t>(kNow - 3600);
    return p;
}

class ProcessStatusTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = std::make_shared<CountingBackend>();
        backend->setTime(kNow);
        backend->setUserName(501, "mobile");
        backend->setUserName(0, "root");
        backend->setGroupName(501, "mobile");
        backend->setGroupName(0, "wheel");
        darwin::install(backend);
        status = ProcessStatusTestAccess::make();
    }
    void TearDown() override {
        ProcessStatus::finalize();
        darwin::install(nullptr);
    }

    QList<int32_t> pids() const {
        QList<int32_t> list;
        for (const auto& record : status->info()) {
            list.append(record->pid());
        }
        return list;
    }

    std::shared_ptr<CountingBackend> backend;
    std::unique_ptr<ProcessStatus> status;
};

TEST_F(ProcessStatusTest, RecordsComeInTheReverseOfTheKernelsOrder) {
    backend->setProcessTable(
        {process(1, "launchd", 0), process(2, "SpringBoard"), process(3, "sh")});
    status->snapshot();
    EXPECT_EQ(pids(), QList<int32_t>({3, 2, 1}));
    const ProcessInfo& launchd = *status->info().last();
    EXPECT_EQ(launchd.name(), "launchd");
    EXPECT_EQ(launchd.user(), "root");
    EXPECT_EQ(launchd.group(), "wheel");
    EXPECT_EQ(launchd.stat(), "sleep");
    EXPECT_EQ(launchd.priority(), 31);
    EXPECT_EQ(launchd.starttime(), QDateTime::fromSecsSinceEpoch(kNow - 3600, Qt::UTC));

    backend->setProcessTable({process(7, "a")});
    status->snapshot();
    EXPECT_EQ(pids(), QList<int32_t>({7}));
    status->removeAllData();
    EXPECT_TRUE(status->info().isEmpty());
}

TEST_F(ProcessStatusTest, APartialTrailingRecordIsIgnored) {
    std::vector<unsigned char> dump(2 * darwin::kinfo_proc::Layout::kSize + 100);
    darwin::kinfo_proc::Layout::encode(process(10, "first"), dump.data());
    darwin::kinfo_proc::Layout::encode(process(11, "second"),
                                       dump.data() + darwin::kinfo_proc::Layout::kSize);
    backend->setProcessTable({process(10, "first"), process(11, "second")});
    backend->setProcessTableBytes(dump);
    status->snapshot();
    EXPECT_EQ(pids(), QList<int32_t>({11, 10}));
}

TEST_F(ProcessStatusTest, AProcessGoneBeforeItsOwnQueryLeavesAnEmptyRecord) {
    backend->setProcessTable({process(20, "stays"), process(21, "goes")});
    backend->vanish(21);
    status->snapshot();
    ASSERT_EQ(status->info().size(), 2);
    const ProcessInfo& gone = *status->info().first();
    EXPECT_EQ(gone.pid(), 0);
    EXPECT_TRUE(gone.name().isNull());
    EXPECT_TRUE(gone.stat().isNull());
    EXPECT_FALSE(gone.starttime().isValid());
    EXPECT_EQ(ProcessStatus::stringWithUptime(gone.starttime()), "");
}

TEST_F(ProcessStatusTest, AnUnreadableTableGivesNoRecords) {
    backend->setProcessTable({process(1, "x")});
    status->snapshot();
    backend->failProcessTable(ENOMEM);
    status->snapshot();
    EXPECT_TRUE(status->info().isEmpty());
}

TEST_F(ProcessStatusTest, NamesStatesAndAccounts) {
    backend->setProcessTable({process(1, "MobileMusicPlayX"), process(2, "MobileMusicPla"),
                              process(3, "\xff\xfe bad", 501), process(4, "z", 777, darwin::SZOMB),
                              process(5, "q", 501, 0), process(6, "r", 501, 7),
                              process(7, "s", 501, -3)});
    status->snapshot();
    const auto& info = status->info(); // reverse order: pid 7 first
    EXPECT_EQ(info[6]->name(), "MobileMusicPlayer");
    EXPECT_EQ(info[5]->name(), "MobileMusicPla");
    EXPECT_TRUE(info[4]->name().isNull());
    EXPECT_EQ(info[3]->stat(), "zombie");
    EXPECT_TRUE(info[3]->isZombie());
    EXPECT_EQ(info[3]->user(), ""); // uid 777 has no account entry
    EXPECT_FALSE(info[3]->user().isNull());
    EXPECT_EQ(info[2]->stat(), "??????");
    EXPECT_EQ(info[1]->stat(), "??????");
    EXPECT_EQ(info[0]->stat(), "??????");
}

TEST_F(ProcessStatusTest, EachAccountIsLookedUpOncePerSnapshot) {
    std::vector<KinfoProc> table;
    for (int32_t pid = 100; pid < 400; ++pid) {
        table.push_back(process(pid, "worker", pid % 3 == 0 ? 0 : 501));
    }
    backend->setProcessTable(table);
    status->snapshot();
    EXPECT_EQ(status->info().size(), 300);
    EXPECT_EQ(backend->userLookups, 2);
    EXPECT_EQ(backend->groupLookups, 2);
    status->snapshot();
    EXPECT_EQ(backend->userLookups, 4); // a new snapshot looks again
}

TEST_F(ProcessStatusTest, ElapsedTimesLikeTheDevice) {
    const std::pair<long long, const char*> cases[] = {
        {0, ""},
        {1, "1 sec"},
        {45, "45 secs"},
        {60, "1 min, "},
        {61, "1 min, 31 secs"},
        {3600, "1 hour, 30 secs"},
        {86400, "1 day, 30 secs"},
        {90061, "1 day, 01:01:31"},
        {183840, "2 days, 03:04:30"},
    };
    for (const auto& [seconds, text] : cases) {
        const QDateTime past = QDateTime::fromSecsSinceEpoch(kNow - seconds, Qt::UTC);
        const QDateTime future = QDateTime::fromSecsSinceEpoch(kNow + seconds, Qt::UTC);
        EXPECT_EQ(ProcessStatus::stringWithUptime(past), text) << seconds;
        EXPECT_EQ(ProcessStatus::stringWithUptime(future), text) << seconds;
    }
}

TEST_F(ProcessStatusTest, ResidentMemoryInMegabytes) {
    backend->setTaskInfo(10, 1'572'864);
    backend->setTaskInfo(11, 0);
    backend->setTaskInfo(12, 5ull << 30); // above 4 GiB: all 64 bits count
    backend->failTaskInfo(13, ESRCH);
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(10), "1.5 MB");
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(11), "0.0 MB");
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(12), "5120.0 MB");
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(13), "? MB");
}

TEST_F(ProcessStatusTest, TheTableBufferIsKeptUntilFinalize) {
    backend->setProcessTable({process(1, "a"), process(2, "b")});
    status->snapshot();
    EXPECT_GE(ProcessStatus::tableBufferSize(), 2 * darwin::kinfo_proc::Layout::kSize);
    ProcessStatus::finalize();
    EXPECT_EQ(ProcessStatus::tableBufferSize(), 0u);
    EXPECT_EQ(status->info().size(), 2); // the records stay
}

} // namespace
