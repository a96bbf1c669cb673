#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darwin {

// One line of /proc/PID/mountinfo (proc(5)):
// "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue".
struct MountInfoEntry {
    int64_t id = 0;           // 1
    int64_t parentId = 0;     // 2
    uint32_t major = 0;       // 3, the st_dev of files on it
    uint32_t minor = 0;       // 3
    std::string root;         // 4, the directory of the file system mounted, unescaped
    std::string mountPoint;   // 5, unescaped
    std::string mountOptions; // 6, per-mount options ("rw,nosuid,relatime")
    std::string type;         // after "-": "ext4", "fuse.sshfs"
    std::string source;       // unescaped: "/dev/sda1", "server:/export", "tmpfs"
    std::string superOptions; // the file system's own options, as the kernel shows them

    bool operator==(const MountInfoEntry&) const = default;
};

// The entries in file order; lines that do not parse are left out.
std::vector<MountInfoEntry> parseMountInfo(std::string_view text);

// The mounts to list so that each file system shows once, as coreutils df lists them:
// their positions in `mounts`, in order. Mounts of one file system (the same device
// number, and for btrfs the same subvolume) are bind mounts of each other or the same
// device mounted twice. The first one's position stays; the mount shown there is the
// first, unless a later one
//  - names a device ("/dev/sda1") where the kept one names none ("rootfs", "tmpfs"),
//  - has a shorter mount point and does not show a deeper directory of the file system
//    (its root is not longer than the kept one's), or
//  - names another source on the same mount point (mounted over it),
// which then takes its place. Mounts of a remote file system (a source "host:/path" or
// "//host/share") with different sources are different exports and all stay.
std::vector<size_t> oneMountPerFileSystem(const std::vector<const MountInfoEntry*>& mounts);

// Undoes the kernel's escapes of blanks and backslashes in paths: "\040" (space),
// "\011", "\012", "\134"; a backslash not followed by a byte in three octal digits
// (\000 to \377) stays.
std::string unescapeMountField(std::string_view field);

// Whether a comma-separated option list holds word; a word ending in '=' matches any
// option with that name and a value ("usrjquota=" matches "usrjquota=aquota.user").
bool hasMountOption(std::string_view options, std::string_view word);

// The value of the first option "name=value" in a comma-separated option list.
std::optional<std::string_view> mountOptionValue(std::string_view options, std::string_view name);

} // namespace darwin
