#pragma once

#include "platform/darwin/Statfs.h"
#include "platform/darwin/linux/MountInfo.h"

#include <sys/vfs.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace darwin {

// The device's mount table made from the host's: the mounts of <root>/proc/self/mountinfo
// in its order, each measured with statfs(2) of its mount point under root. A mount that
// cannot be measured (gone, stale, no permission) or is hidden under a later mount is
// left out, and so are bind mounts: each file system shows once, at the mount df shows
// (oneMountPerFileSystem); the device has no bind mounts.
//
// Without wait, no file system is asked in a way that may block the caller: those served
// by another process or machine (FUSE, network), and mounts whose path leads through
// one, are measured by ServedStatfs, waiting at most servedDeadline, and keep zero sizes
// when no answer is known; autofs triggers are listed with zero sizes and not asked, as
// asking would mount them.
class MountTable {
public:
    static constexpr std::chrono::milliseconds kServedDeadline{250};

    explicit MountTable(std::string root,
                        std::chrono::milliseconds servedDeadline = kServedDeadline);

    // Null with errno when mountinfo cannot be read.
    std::optional<std::vector<StatfsRecord>> records(bool wait) const;

private:
    enum class Asking { Now, Worker, Never };
    struct Listed {
        const MountInfoEntry* mount;
        StatfsRecord record;
        Asking asking;
    };

    static Asking askingOf(const MountInfoEntry& mount, bool withinServed, bool wait);
    // The record without sizes.
    StatfsRecord describe(const MountInfoEntry& mount, bool automounted) const;
    // The MNT_* flags (docs/PLATFORM-LINUX.md).
    uint32_t flagsOf(const MountInfoEntry& mount, bool automounted) const;
    bool measure(const MountInfoEntry& mount, StatfsRecord& record) const;
    void askServed(std::vector<Listed>& listed) const;
    static void setSizes(const struct ::statfs& sizes, StatfsRecord& record);
    bool isLocal(const MountInfoEntry& mount) const;
    bool isBlockDevice(uint32_t major, uint32_t minor) const;

    std::string root_;
    std::chrono::milliseconds servedDeadline_;
};

} // namespace darwin
