#include "platform/darwin/linux/MountTable.h"

#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/ServedStatfs.h"

#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <map>
#include <string_view>

namespace darwin {

namespace {

using Mounts = std::vector<MountInfoEntry>;

constexpr std::array<std::string_view, 14> kServedTypes = {
    "nfs",  "nfs4", "cifs", "smb3",   "smbfs", "ncpfs",     "afs",
    "ceph", "9p",   "coda", "lustre", "davfs", "glusterfs", "virtiofs"};
constexpr std::array<std::string_view, 7> kJournalingTypes = {"ext3",     "ext4",  "xfs", "jfs",
                                                              "reiserfs", "ntfs3", "gfs2"};
constexpr std::array<std::string_view, 9> kQuotaOptions = {"quota",    "usrquota",   "grpquota",
                                                           "prjquota", "uquota",     "gquota",
                                                           "pquota",   "usrjquota=", "grpjquota="};

template <size_t N>
bool isOneOf(std::string_view word, const std::array<std::string_view, N>& set) {
    return std::find(set.begin(), set.end(), word) != set.end();
}

// Another process or machine answers for these; asking may wait for it. FUSE servers
// over a block device (fuseblk: ntfs-3g, exfat-fuse) are processes all the same.
bool isServed(std::string_view type) {
    const bool fuse = type == "fuse" || type == "fuseblk" || type.starts_with("fuse.");
    return fuse || isOneOf(type, kServedTypes);
}

bool hasOption(const MountInfoEntry& mount, std::string_view word) {
    return hasMountOption(mount.mountOptions, word) || hasMountOption(mount.superOptions, word);
}

bool hasQuota(const MountInfoEntry& mount) {
    return std::any_of(kQuotaOptions.begin(), kQuotaOptions.end(),
                       [&mount](std::string_view word) { return hasOption(mount, word); });
}

// The mounts by id, and which mounts cover which: a mount on the same mount point as its
// parent sits on top of it.
class MountIndex {
public:
    explicit MountIndex(const Mounts& all) {
        for (const MountInfoEntry& mount : all) {
            byId_.emplace(mount.id, &mount);
        }
        for (const MountInfoEntry& mount : all) {
            const MountInfoEntry* parent = parentOf(mount);
            if (parent != nullptr && parent->mountPoint == mount.mountPoint) {
                coveredBy_.emplace(parent->id, mount.id);
            }
        }
    }

    const MountInfoEntry* parentOf(const MountInfoEntry& mount) const {
        const auto parent = byId_.find(mount.parentId);
        return parent != byId_.end() && parent->second != &mount ? parent->second : nullptr;
    }

    // The path of its mount point reaches another file system: something covers it, or
    // covers a mount it lies within (other than the mount on the way to it, which is on
    // top of its own parent).
    bool isHidden(const MountInfoEntry& mount) const {
        if (coveredBy_.contains(mount.id)) {
            return true;
        }
        const MountInfoEntry* child = &mount;
        for (size_t steps = 0; steps < byId_.size(); ++steps) {
            const MountInfoEntry* parent = parentOf(*child);
            if (parent == nullptr) {
                return false;
            }
            const auto [first, last] = coveredBy_.equal_range(parent->id);
            for (auto cover = first; cover != last; ++cover) {
                if (cover->second != child->id) {
                    return true;
                }
            }
            child = parent;
        }
        return false;
    }

    // Its path leads through a served file system, whose server looks up the rest of it.
    bool liesWithinServed(const MountInfoEntry& mount) const {
        const MountInfoEntry* parent = parentOf(mount);
        for (size_t steps = 0; parent != nullptr && steps < byId_.size(); ++steps) {
            if (isServed(parent->type)) {
                return true;
            }
            parent = parentOf(*parent);
        }
        return false;
    }

    bool isAutomounted(const MountInfoEntry& mount) const {
        const MountInfoEntry* parent = parentOf(mount);
        return mount.type == "autofs" || (parent != nullptr && parent->type == "autofs");
    }

private:
    std::map<int64_t, const MountInfoEntry*> byId_;
    std::multimap<int64_t, int64_t> coveredBy_; // covered id → covering id
};

// FUSE file systems name the user who mounted them; everything else is mounted by root.
uint32_t ownerOf(const MountInfoEntry& mount) {
    const std::optional<std::string_view> user = mountOptionValue(mount.superOptions, "user_id");
    uint32_t uid = 0;
    if (user) {
        std::from_chars(user->data(), user->data() + user->size(), uid);
    }
    return uid;
}

// The kernel keeps names NUL-terminated within their fields.
std::string cutTo(const std::string& text, size_t fieldSize) {
    return text.substr(0, fieldSize - 1);
}

template <class T> T saturated(uint64_t value) {
    return static_cast<T>(std::min<uint64_t>(value, std::numeric_limits<T>::max()));
}

} // namespace

MountTable::MountTable(std::string root, std::chrono::milliseconds servedDeadline)
    : root_(std::move(root)), servedDeadline_(servedDeadline) {}

// A mount point too long for f_mntonname is left out: cut short, it would name another
// directory.
std::optional<std::vector<StatfsRecord>> MountTable::records(bool wait) const {
    const std::optional<std::string> mountinfo =
        readHostFile(pathUnderRoot(root_, "/proc/self/mountinfo"));
    if (!mountinfo) {
        return std::nullopt;
    }
    const Mounts all = parseMountInfo(*mountinfo);
    const MountIndex index(all);
    std::vector<Listed> listed;
    for (const MountInfoEntry& mount : all) {
        if (index.isHidden(mount) ||
            mount.mountPoint.size() >= statfs64::Layout::sizeOf<&StatfsRecord::mntonname>()) {
            continue;
        }
        Listed entry{&mount, describe(mount, index.isAutomounted(mount)),
                     askingOf(mount, index.liesWithinServed(mount), wait)};
        if (entry.asking != Asking::Now || measure(mount, entry.record)) {
            listed.push_back(std::move(entry));
        }
    }
    askServed(listed);
    std::vector<const MountInfoEntry*> mounts;
    for (const Listed& entry : listed) {
        mounts.push_back(entry.mount);
    }
    std::vector<StatfsRecord> records;
    for (const size_t kept : oneMountPerFileSystem(mounts)) {
        records.push_back(std::move(listed[kept].record));
    }
    return records;
}

// Without waiting, nothing is asked that may block: autofs triggers not at all (asking
// mounts them), served file systems and what lies within them by a worker.
MountTable::Asking MountTable::askingOf(const MountInfoEntry& mount, bool withinServed, bool wait) {
    if (wait) {
        return Asking::Now;
    }
    if (mount.type == "autofs") {
        return Asking::Never;
    }
    return isServed(mount.type) || withinServed ? Asking::Worker : Asking::Now;
}

StatfsRecord MountTable::describe(const MountInfoEntry& mount, bool automounted) const {
    StatfsRecord record;
    record.owner = ownerOf(mount);
    record.flags = flagsOf(mount, automounted);
    record.fstypename = cutTo(mount.type, statfs64::Layout::sizeOf<&StatfsRecord::fstypename>());
    record.mntonname = mount.mountPoint;
    record.mntfromname =
        cutTo(mount.source, statfs64::Layout::sizeOf<&StatfsRecord::mntfromname>());
    return record;
}

// statfs(2), which statvfs(3) is made from: the same sizes, and the type's magic number.
bool MountTable::measure(const MountInfoEntry& mount, StatfsRecord& record) const {
    struct ::statfs sizes {};
    if (::statfs(pathUnderRoot(root_, mount.mountPoint).c_str(), &sizes) != 0) {
        return false;
    }
    setSizes(sizes, record);
    return true;
}

// Sizes the servers answered in time; a server's error leaves its mount out, as when
// measured at once. The others keep zero sizes.
void MountTable::askServed(std::vector<Listed>& listed) const {
    std::vector<ServedStatfs::Request> requests;
    for (const Listed& entry : listed) {
        if (entry.asking == Asking::Worker) {
            requests.push_back({pathUnderRoot(root_, entry.mount->mountPoint), entry.mount->id});
        }
    }
    if (requests.empty()) {
        return;
    }
    const std::vector<ServedStatfs::Answer> answers =
        ServedStatfs::shared().ask(requests, servedDeadline_);
    auto answer = answers.begin();
    std::erase_if(listed, [&answer](Listed& entry) {
        if (entry.asking != Asking::Worker) {
            return false;
        }
        const ServedStatfs::Answer& given = *answer++;
        if (given.state == ServedStatfs::Answer::State::Measured) {
            setSizes(given.sizes, entry.record);
        }
        return given.state == ServedStatfs::Answer::State::Failed;
    });
}

void MountTable::setSizes(const struct ::statfs& sizes, StatfsRecord& record) {
    const uint64_t fragment = sizes.f_frsize != 0 ? sizes.f_frsize : sizes.f_bsize;
    record.bsize = saturated<uint32_t>(fragment);
    record.iosize = saturated<int32_t>(static_cast<uint64_t>(sizes.f_bsize));
    record.blocks = sizes.f_blocks;
    record.bfree = sizes.f_bfree;
    record.bavail = sizes.f_bavail;
    record.files = sizes.f_files;
    record.ffree = sizes.f_ffree;
    record.type = static_cast<uint32_t>(sizes.f_type);
}

uint32_t MountTable::flagsOf(const MountInfoEntry& mount, bool automounted) const {
    const std::array<std::pair<std::string_view, uint32_t>, 6> optionFlags = {{
        {"ro", MNT_RDONLY},
        {"sync", MNT_SYNCHRONOUS},
        {"noexec", MNT_NOEXEC},
        {"nosuid", MNT_NOSUID},
        {"nodev", MNT_NODEV},
        {"noatime", MNT_NOATIME},
    }};
    uint32_t flags = 0;
    for (const auto& [option, flag] : optionFlags) {
        flags |= hasOption(mount, option) ? flag : 0;
    }
    flags |= isLocal(mount) ? MNT_LOCAL : 0;
    flags |= hasQuota(mount) ? MNT_QUOTA : 0;
    flags |= mount.mountPoint == "/" ? MNT_ROOTFS : 0;
    flags |= automounted ? MNT_AUTOMOUNTED : 0;
    flags |= isOneOf(mount.type, kJournalingTypes) ? MNT_JOURNALED : 0;
    return flags;
}

// On a block device of this machine: a device node as its source, a block device's
// number as its own, or ZFS, whose sources name pools on local disks. A FUSE server over
// a block device (fuseblk) serves a local disk.
bool MountTable::isLocal(const MountInfoEntry& mount) const {
    if (mount.type == "autofs" || (isServed(mount.type) && mount.type != "fuseblk")) {
        return false;
    }
    return mount.source.starts_with("/dev/") || mount.type == "zfs" ||
           isBlockDevice(mount.major, mount.minor);
}

// Major 0 numbers the kernel's anonymous devices (pseudo file systems, btrfs subvolumes).
bool MountTable::isBlockDevice(uint32_t major, uint32_t minor) const {
    if (major == 0) {
        return false;
    }
    const std::string entry =
        "/sys/dev/block/" + std::to_string(major) + ':' + std::to_string(minor);
    return ::faccessat(AT_FDCWD, pathUnderRoot(root_, entry).c_str(), F_OK, 0) == 0;
}

} // namespace darwin
