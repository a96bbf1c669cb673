#include "platform/darwin/Proc.h"

#include "platform/darwin/Sysctl.h"

#include <cerrno>

namespace darwin {

bool isProcessTableName(const std::vector<int>& mib) {
    return mib.size() >= 2 && mib[0] == CTL_KERN && mib[1] == KERN_PROC;
}

std::optional<ProcessQuery> processQueryOf(const std::vector<int>& mib) {
    if (!isProcessTableName(mib) || mib.size() < 3) {
        errno = EINVAL;
        return std::nullopt;
    }
    if (mib[2] == KERN_PROC_ALL && mib.size() <= 4) {
        return ProcessQuery{true, 0};
    }
    if (mib[2] == KERN_PROC_PID && mib.size() == 4) {
        return ProcessQuery{false, mib[3]};
    }
    errno = mib[2] == KERN_PROC_ALL || mib[2] == KERN_PROC_PID ? EINVAL : ENOENT;
    return std::nullopt;
}

bool taskInfoRequestIsValid(int flavor, const void* buffer, int buffersize) {
    if (flavor != PROC_PIDTASKINFO) {
        errno = EINVAL;
        return false;
    }
    if (buffersize < static_cast<int>(proc_taskinfo::Layout::kSize)) {
        errno = ENOMEM;
        return false;
    }
    if (buffer == nullptr) {
        errno = EFAULT;
        return false;
    }
    return true;
}

} // namespace darwin
