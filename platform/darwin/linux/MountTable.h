#pragma once

#include "platform/darwin/Statfs.h"
#include "platform/darwin/linux/MountInfo.h"

#include <optional>
#include <string>
#include <vector>

namespace darwin {

// The device's mount table made from the host's: the mounts of <root>/proc/self/mountinfo
// in its order, each measured with statfs(2) of its mount point under root. A mount that
// cannot be measured (gone, stale, no permission) or is hidden under a later mount is
// left out, and so are bind mounts: each file system shows once, at the mount df shows
// (oneMountPerFileSystem); the device has no bind mounts. Without wait, file systems
// served by another process or machine (network and FUSE file systems, autofs triggers) are listed
// with zero sizes instead of being asked, so that a dead server never blocks the caller.
class MountTable {
public:
    explicit MountTable(std::string root);

    // Null with errno when mountinfo cannot be read.
    std::optional<std::vector<StatfsRecord>> records(bool wait) const;

private:
    std::optional<StatfsRecord> record(const MountInfoEntry& mount, bool automounted,
                                       bool wait) const;
    // The MNT_* flags (docs/PLATFORM-LINUX.md).
    uint32_t flagsOf(const MountInfoEntry& mount, bool automounted) const;
    bool measure(const MountInfoEntry& mount, StatfsRecord& record) const;
    bool isLocal(const MountInfoEntry& mount) const;
    bool isBlockDevice(uint32_t major, uint32_t minor) const;

    std::string root_;
};

} // namespace darwin
