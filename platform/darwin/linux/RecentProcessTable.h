#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace darwin {

// The process table last read, kept for a moment. The device's programs read the table
// and then query every process in it one by one; within kLifetime of the table read,
// those queries are answered from the table (after a check that the process still
// exists) instead of reading /proc again. A record served so is as old as the table
// read: at most kLifetime. Thread-safe.
class RecentProcessTable {
public:
    static constexpr std::chrono::milliseconds kLifetime{1000};

    void keep(const std::vector<unsigned char>& records);
    // Copies the 492-byte record of pid when the table is recent and lists it.
    bool find(int32_t pid, unsigned char* record) const;

private:
    mutable std::mutex mutex_;
    std::vector<unsigned char> records_; // ascending by pid
    std::chrono::steady_clock::time_point readAt_;
};

} // namespace darwin
