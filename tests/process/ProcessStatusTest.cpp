#include "process/ProcessStatus.h"
#include "ProcessTableFixture.h"
#include "platform/darwin/Proc.h"

#include "support/MessageLog.h"
#include "support/QtPrinters.h"
#include "support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <cstring>

struct ProcessStatusTestAccess {
    static std::unique_ptr<ProcessStatus> make() {
        return std::unique_ptr<ProcessStatus>(new ProcessStatus());
    }
};

namespace {

using P = ProcessTableFixture;
constexpr size_t kRecordSize = darwin::kinfo_proc::Layout::kSize;

class ProcessStatusTest : public ::testing::Test {
protected:
    void TearDown() override { ProcessStatus::finalize(); }

    QList<int32_t> pids() const {
        QList<int32_t> list;
        for (const auto& record : status->info()) {
            list.append(record->pid());
        }
        return list;
    }

    ProcessTableFixture kernel;
    std::unique_ptr<ProcessStatus> status = ProcessStatusTestAccess::make();
};

// What a record holds shows in the detail screen's golden text; here, the table as a whole.
TEST_F(ProcessStatusTest, RecordsComeInTheReverseOfTheKernelsOrder) {
    testenv::MessageLog log("ormel.process");
    kernel.backend->setProcessTable(
        {P::process(1, "launchd", 0), P::process(2, "SpringBoard", 501), P::process(3, "sh", 501)});
    status->snapshot();
    EXPECT_EQ(pids(), QList<int32_t>({3, 2, 1}));
    EXPECT_GE(ProcessStatus::tableBufferSize(), 3 * kRecordSize) << "the dump is kept";
    kernel.backend->setProcessTable({P::process(7, "a", 501)});
    status->snapshot();
    EXPECT_EQ(pids(), QList<int32_t>({7})) << "a snapshot replaces the records";
    ProcessStatus::finalize();
    EXPECT_EQ(ProcessStatus::tableBufferSize(), 0u) << "until finalize";
    EXPECT_EQ(pids(), QList<int32_t>({7})) << "the records stay";
    kernel.backend->failProcessTable(EACCES);
    status->snapshot();
    EXPECT_TRUE(status->info().isEmpty()) << "an unreadable table gives no records";
    EXPECT_EQ(log.warnings(),
              QStringList{QStringLiteral("process table: sysctl kern.proc.all size probe: ") +
                          std::strerror(EACCES)});
}

// Processes started between the size probe and the read beyond the probe's slack make
// the read fail with ENOMEM; the table is probed and read again, a few times.
TEST_F(ProcessStatusTest, ATableThatGrowsAfterTheProbeIsReadAgain) {
    testenv::MessageLog log("ormel.process");
    kernel.backend->setProcessTable({P::process(1, "launchd", 0), P::process(2, "sh", 501)});
    kernel.backend->growProcessTableAfterProbes(darwin::kProcessTableSlack + 1, 1);
    status->snapshot();
    ASSERT_EQ(status->info().size(), 2 + 6);
    EXPECT_EQ(status->info().first()->pid(), 8);
    EXPECT_EQ(status->info().first()->name(), "newcomer");
    EXPECT_EQ(status->info().last()->pid(), 1);
    EXPECT_TRUE(log.warnings().isEmpty()) << log.warnings().join('\n').toStdString();

    // Each read leaves more room than its probe asks for, but not a thousand processes.
    kernel.backend->growProcessTableAfterProbes(1000, 100);
    status->snapshot();
    EXPECT_TRUE(status->info().isEmpty()) << "a table that never stops growing";
    EXPECT_EQ(log.warnings(), QStringList{QStringLiteral("process table: sysctl kern.proc.all: ") +
                                          std::strerror(ENOMEM)});
}

// A dump that ends in part of a record, and a process gone before its own query.
TEST_F(ProcessStatusTest, ATruncatedDumpAndAVanishedProcess) {
    std::vector<unsigned char> dump(2 * kRecordSize + 100);
    darwin::kinfo_proc::Layout::encode(P::process(10, "stays", 501), dump.data());
    darwin::kinfo_proc::Layout::encode(P::process(11, "goes", 501), dump.data() + kRecordSize);
    kernel.backend->setProcessTable({P::process(10, "stays", 501), P::process(11, "goes", 501)});
    kernel.backend->setProcessTableBytes(dump);
    kernel.backend->vanish(11);
    status->snapshot();
    EXPECT_EQ(pids(), QList<int32_t>({0, 10})) << "an empty record for the vanished one";
    const ProcessInfo& gone = *status->info().first();
    EXPECT_TRUE(gone.name().isNull());
    EXPECT_TRUE(gone.stat().isNull());
    EXPECT_EQ(ProcessStatus::stringWithUptime(gone.starttime()), "");
}

TEST_F(ProcessStatusTest, NamesStatesAndAccounts) {
    kernel.backend->setProcessTable(
        {P::process(1, "MobileMusicPlayX", 501), P::process(2, "MobileMusicPla", 501),
         P::process(3, "\xff\xfe bad", 501), P::process(4, "z", 777, darwin::SZOMB),
         P::process(5, "q", 501, 0), P::process(6, "r", 501, 7), P::process(7, "s", 501, -3)});
    status->snapshot();
    const auto& info = status->info(); // reverse order: pid 7 first
    EXPECT_EQ(info[6]->name(), "MobileMusicPlayer") << "the kernel cuts it to 15 characters";
    EXPECT_EQ(info[5]->name(), "MobileMusicPla");
    EXPECT_EQ(info[4]->name(), "\\xff\\xfe bad") << "not UTF-8: the bytes show";
    EXPECT_TRUE(info[3]->isZombie());
    EXPECT_TRUE(info[3]->user().isEmpty() && !info[3]->user().isNull()) << "no account entry";
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(info[i]->stat(), "??????") << "state of pid " << info[i]->pid();
    }
}

TEST_F(ProcessStatusTest, ElapsedTimesPadTheHoursWithZerosInEitherDirection) {
    const std::pair<long long, const char*> cases[] = {{3600, "1 hour, 30 secs"},
                                                       {90061, "1 day, 01:01:31"}};
    for (const auto& [seconds, text] : cases) {
        for (long long sign : {-1, 1}) {
            const auto date = QDateTime::fromSecsSinceEpoch(P::kNow + sign * seconds, Qt::UTC);
            EXPECT_EQ(ProcessStatus::stringWithUptime(date), text) << sign * seconds;
        }
    }
}

// "1.5 MB" and "? MB" show in the process screens' golden texts; the number is grouped
// and separated as the other screens' numbers, in the user's locale.
TEST_F(ProcessStatusTest, ResidentMemoryInMegabytes) {
    kernel.backend->setTaskInfo(11, 0);
    kernel.backend->setTaskInfo(12, 5ull << 30); // above 4 GiB: all 64 bits count
    testenv::ScopedLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(11), "0.0 MB");
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(12), "5,120.0 MB");
    testenv::ScopedLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(12), "5.120,0 MB");
    testenv::ScopedLocale arabic(QLocale::Arabic, QLocale::Egypt);
    EXPECT_EQ(ProcessStatus::stringWithOccupiedMemoryForPID(11), "٠٫٠ MB");
}

// Counts the account lookups a snapshot makes, of users and groups together.
class CountingBackend : public darwin::FixtureBackend {
public:
    std::optional<std::string> userName(uint32_t uid) override {
        ++lookups;
        return FixtureBackend::userName(uid);
    }
    std::optional<std::string> groupName(uint32_t gid) override {
        ++lookups;
        return FixtureBackend::groupName(gid);
    }
    int lookups = 0;
};

TEST_F(ProcessStatusTest, EachAccountIsLookedUpOncePerSnapshot) {
    auto counting = std::make_shared<CountingBackend>();
    std::vector<darwin::KinfoProc> table;
    for (int32_t pid = 100; pid < 400; ++pid) {
        table.push_back(P::process(pid, "worker", pid % 3 == 0 ? 0 : 501));
    }
    counting->setProcessTable(table);
    darwin::install(counting); // until the fixture uninstalls every kernel at the end
    status->snapshot();
    EXPECT_EQ(status->info().size(), 300);
    EXPECT_EQ(counting->lookups, 4) << "two users and two groups";
    status->snapshot();
    EXPECT_EQ(counting->lookups, 8) << "a new snapshot looks again";
}

} // namespace
