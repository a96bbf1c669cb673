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
    std::string mountPoint;   // 5, unescaped
    std::string mountOptions; // 6, per-mount options ("rw,nosuid,relatime")
    std::string type;         // after "-": "ext4", "fuse.sshfs"
    std::string source;       // unescaped: "/dev/sda1", "server:/export", "tmpfs"
    std::string superOptions; // the file system's own options, as the kernel shows them

    bool operator==(const MountInfoEntry&) const = default;
};

// The entries in file order; lines that do not parse are left out.
std::vector<MountInfoEntry> parseMountInfo(std::string_view text);

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
