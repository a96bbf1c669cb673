#include "platform/darwin/Statfs.h"

#include <cerrno>

namespace darwin {

bool mountTableWaits(int flags) {
    return (flags & MNT_NOWAIT) == 0 || (flags & (MNT_WAIT | MNT_DWAIT)) != 0;
}

int handOutMountTable(const std::vector<StatfsRecord>& records, const unsigned char** mntbufp) {
    if (mntbufp == nullptr) {
        errno = EFAULT;
        return 0;
    }
    thread_local std::vector<unsigned char> buffer;
    buffer = statfs64::Layout::encodeTable(records);
    *mntbufp = buffer.data();
    return static_cast<int>(records.size());
}

} // namespace darwin
