#include "memdisk/MemoryStatus.h"
#include "MemDiskFixture.h"

#include <gtest/gtest.h>

// Which counter lands in which property is checked by the Memory screen's golden text;
// these are the rules of the reading itself.
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

TEST_F(MemoryStatusTest, HitRateIsCutOffAndCountersStayWholePast32Bits) {
    const struct {
        uint64_t hits, lookups;
        uint32_t rate;
    } cases[] = {{2, 3, 66}, {11, 12, 91}, {7, 0, 0}, {1ull << 32, 2ull << 32, 50}};
    for (const auto& c : cases) {
        darwin::VmStatistics64 m = MemDiskFixture::memory();
        m.hits = c.hits;
        m.lookups = c.lookups;
        kernel.backend->setVmStatistics64(m);
        EXPECT_EQ(fresh()->hit_rate(), c.rate) << c.hits << " of " << c.lookups;
    }
    darwin::VmStatistics64 big = MemDiskFixture::memory();
    big.freeCount = 0x80000001u;   // negative if read as signed 32 bits
    big.faults = 0x1'2345'6789ull; // wraps in a 32-bit counter
    kernel.backend->setVmStatistics64(big);
    const auto status = fresh();
    EXPECT_EQ(status->free(), 0x80000001u);
    EXPECT_EQ(status->faults(), 0x1'2345'6789ull);
}

TEST_F(MemoryStatusTest, FallsBackToThe32BitCountersAndToPagesOf4096Bytes) {
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
    backend->failPageSize(darwin::KERN_INVALID_HOST);
    EXPECT_EQ(fresh()->pagesize(), 4096u) << "when the kernel does not tell";
    darwin::install(kernel.backend);
}

TEST_F(MemoryStatusTest, AFailedReadingIsAllZeroButKeepsThePageSize) {
    const auto status = fresh();
    ASSERT_NE(status->free(), 0u);
    kernel.backend->failVmStatistics(darwin::KERN_FAILURE);
    status->snapshot();
    EXPECT_EQ(status->pagesize(), 4096u);
    const MemoryStatus& s = *status;
    for (uint64_t counter :
         {uint64_t{s.free()}, uint64_t{s.active()}, uint64_t{s.inactive()}, uint64_t{s.wired()},
          s.faults(), s.cow_faults(), s.zero_filled(), s.reactivated(), s.pageins(), s.pageouts(),
          s.lookups(), s.hits(), uint64_t{s.hit_rate()}}) {
        EXPECT_EQ(counter, 0u);
    }
}

} // namespace
