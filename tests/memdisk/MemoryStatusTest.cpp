#include "memdisk/MemoryStatus.h"
#include "MemDiskFixture.h"

#include <gtest/gtest.h>

namespace {

class MemoryStatusTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Later tests find the class-wide state as the fixture kernel gives it.
        MemoryStatusTestAccess::reinitialize(MemoryStatus::sharedInstance());
    }

    std::unique_ptr<MemoryStatus> fresh() {
        auto status = MemoryStatusTestAccess::make();
        MemoryStatusTestAccess::reinitialize(status.get());
        status->snapshot();
        return status;
    }

    MemDiskFixture kernel;
};

TEST_F(MemoryStatusTest, CopiesTheKernelsCountersFieldByField) {
    darwin::VmStatistics64 m;
    m.freeCount = 1;
    m.activeCount = 2;
    m.inactiveCount = 3;
    m.wireCount = 4;
    m.zeroFillCount = 5;
    m.reactivations = 6;
    m.pageins = 7;
    m.pageouts = 8;
    m.faults = 9;
    m.cowFaults = 10;
    m.lookups = 12;
    m.hits = 11;
    kernel.backend->setVmStatistics64(m);
    const auto status = fresh();
    EXPECT_EQ(status->pagesize(), 4096u);
    EXPECT_EQ(status->free(), 1u);
    EXPECT_EQ(status->active(), 2u);
    EXPECT_EQ(status->inactive(), 3u);
    EXPECT_EQ(status->wired(), 4u);
    EXPECT_EQ(status->zero_filled(), 5u);
    EXPECT_EQ(status->reactivated(), 6u);
    EXPECT_EQ(status->pageins(), 7u);
    EXPECT_EQ(status->pageouts(), 8u);
    EXPECT_EQ(status->faults(), 9u);
    EXPECT_EQ(status->cow_faults(), 10u);
    EXPECT_EQ(status->lookups(), 12u);
    EXPECT_EQ(status->hits(), 11u);
    EXPECT_EQ(status->hit_rate(), 91u);
}

TEST_F(MemoryStatusTest, HitRateIsCutOffNotRounded) {
    const auto status = fresh(); // 2 hits in 3 lookups
    EXPECT_EQ(status->hit_rate(), 66u);

    darwin::VmStatistics64 none = MemDiskFixture::memory();
    none.lookups = 0;
    none.hits = 7;
    kernel.backend->setVmStatistics64(none);
    status->snapshot();
    EXPECT_EQ(status->hit_rate(), 0u);
}

TEST_F(MemoryStatusTest, CountersPast32BitsStayPositiveAndWhole) {
    darwin::VmStatistics64 big = MemDiskFixture::memory();
    big.freeCount = 0x80000001u;   // negative if read as signed 32 bits
    big.faults = 0x1'2345'6789ull; // wraps in a 32-bit counter
    big.lookups = 0x2'0000'0000ull;
    big.hits = 0x1'0000'0000ull;
    kernel.backend->setVmStatistics64(big);
    const auto status = fresh();
    EXPECT_EQ(status->free(), 0x80000001u);
    EXPECT_EQ(status->faults(), 0x1'2345'6789ull);
    EXPECT_EQ(status->hit_rate(), 50u);
}

TEST_F(MemoryStatusTest, FallsBackToThe32BitCountersWithout64BitOnes) {
    auto backend = std::make_shared<darwin::FixtureBackend>();
    backend->setPageSize(16384);
    darwin::VmStatistics narrow;
    narrow.freeCount = 100;
    narrow.faults = 0xFFFF'FFFFu;
    narrow.lookups = 4;
    narrow.hits = 3;
    backend->setVmStatistics(narrow);
    darwin::install(backend);
    const auto status = fresh();
    EXPECT_EQ(status->pagesize(), 16384u);
    EXPECT_EQ(status->free(), 100u);
    EXPECT_EQ(status->faults(), 0xFFFF'FFFFull);
    EXPECT_EQ(status->hit_rate(), 75u);
    darwin::install(kernel.backend);
}

TEST_F(MemoryStatusTest, AFailedReadingIsAllZeroButKeepsThePageSize) {
    const auto status = fresh();
    ASSERT_NE(status->free(), 0u);
    kernel.backend->failVmStatistics(darwin::KERN_FAILURE);
    status->snapshot();
    EXPECT_EQ(status->pagesize(), 4096u);
    EXPECT_EQ(status->free(), 0u);
    EXPECT_EQ(status->active(), 0u);
    EXPECT_EQ(status->inactive(), 0u);
    EXPECT_EQ(status->wired(), 0u);
    EXPECT_EQ(status->faults(), 0u);
    EXPECT_EQ(status->zero_filled(), 0u);
    EXPECT_EQ(status->pageouts(), 0u);
    EXPECT_EQ(status->lookups(), 0u);
    EXPECT_EQ(status->hits(), 0u);
    EXPECT_EQ(status->hit_rate(), 0u);
}

TEST_F(MemoryStatusTest, PageSizeIs4096WhenTheKernelDoesNotTell) {
    kernel.backend->failPageSize(darwin::KERN_INVALID_HOST);
    EXPECT_EQ(fresh()->pagesize(), 4096u);
    kernel.backend->failPageSize(darwin::KERN_SUCCESS);
    kernel.backend->setPageSize(16384);
    EXPECT_EQ(fresh()->pagesize(), 16384u);
}

} // namespace
