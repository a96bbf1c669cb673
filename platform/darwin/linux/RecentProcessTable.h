#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace darwin {

// The process table last read, kept for a moment. The device's programs read the table
// and then query every process in it one by one; for kLifetime after the table read,
// those queries are answered from the table (after a check that the process still
// exists) instead of reading /proc again. A record served so is as old as the table
// read: less than kLifetime. Thread-safe.
class RecentProcessTable {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    // The time source that dates the table and ages it: the steady clock, unless a test
    // supplies a clock of its own.
    using Clock = std::function<TimePoint()>;

    static constexpr std::chrono::milliseconds kLifetime{1000};

    explicit RecentProcessTable(Clock now = steadyNow);

    // Replaces the kept table with records, dated now.
    void keep(const std::vector<unsigned char>& records);
    // Copies the 492-byte record of pid when the table is recent and lists it.
    bool find(int32_t pid, unsigned char* record) const;

    static TimePoint steadyNow() { return std::chrono::steady_clock::now(); }

private:
    Clock now_;
    mutable std::mutex mutex_;
    std::vector<unsigned char> records_; // ascending by pid
    TimePoint readAt_;
};

} // namespace darwin
