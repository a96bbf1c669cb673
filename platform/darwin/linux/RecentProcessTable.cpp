#include "platform/darwin/linux/RecentProcessTable.h"

#include "platform/darwin/Proc.h"

#include <cstring>
#include <utility>

namespace darwin {

RecentProcessTable::RecentProcessTable(Clock now) : now_(std::move(now)) {}

void RecentProcessTable::keep(const std::vector<unsigned char>& records) {
    std::lock_guard lock(mutex_);
    records_.assign(records.begin(), records.end());
    readAt_ = now_();
}

bool RecentProcessTable::find(int32_t pid, unsigned char* record) const {
    std::lock_guard lock(mutex_);
    if (records_.empty() || now_() - readAt_ >= kLifetime) {
        return false;
    }
    size_t low = 0;
    size_t high = records_.size() / kinfo_proc::Layout::kSize;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const unsigned char* candidate = records_.data() + middle * kinfo_proc::Layout::kSize;
        const int32_t candidatePid = kinfo_proc::Layout::read<&KinfoProc::pid>(candidate);
        if (candidatePid == pid) {
            std::memcpy(record, candidate, kinfo_proc::Layout::kSize);
            return true;
        }
        if (candidatePid < pid) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return false;
}

} // namespace darwin
