#include "memdisk/DiskInfo.h"

#include "common/NameText.h"
#include "platform/darwin/Statfs.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {

struct MountFlagWord {
    uint32_t flag;
    const char* word;
};

// The order in which the device lists the mount flags.
constexpr MountFlagWord kMountFlagWords[] = {
    {darwin::MNT_LOCAL, "local"},
    {darwin::MNT_QUOTA, "quota"},
    {darwin::MNT_ROOTFS, "rootfs"},
    {darwin::MNT_RDONLY, "read-only"},
    {darwin::MNT_SYNCHRONOUS, "synchronous"},
    {darwin::MNT_NOEXEC, "noexec"},
    {darwin::MNT_NOSUID, "nosuid"},
    {darwin::MNT_NODEV, "nodev"},
    {darwin::MNT_UNION, "union"},
    {darwin::MNT_ASYNC, "asynchronous"},
    {darwin::MNT_NOATIME, "noatime"},
    {darwin::MNT_EXPORTED, "exported"},
    {darwin::MNT_QUARANTINE, "quarantined"},
    {darwin::MNT_DOVOLFS, "volfs"},
    {darwin::MNT_AUTOMOUNTED, "automounted"},
    {darwin::MNT_JOURNALED, "journaled"},
};

// The kilobytes `blocks` blocks of `blockSize` bytes make, rounded up as df rounds. The
// bytes may need more than 64 bits; kilobytes beyond int64 are saturated.
int64_t kilobytesOf(uint64_t blocks, uint32_t blockSize) {
    const unsigned __int128 bytes = static_cast<unsigned __int128>(blocks) * blockSize;
    const unsigned __int128 kilobytes = (bytes + 1023) / 1024;
    const unsigned __int128 most = std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(std::min(kilobytes, most));
}

int32_t capacityOf(uint64_t blocks, uint64_t bavail) {
    if (bavail == 0) {
        return 100;
    }
    const double percent = (static_cast<double>(blocks) - static_cast<double>(bavail)) /
                           static_cast<double>(blocks) * 100.0;
    // A record with more free blocks than blocks is nonsense; keep it in range.
    return static_cast<int32_t>(std::clamp(percent, 0.0, 100.0));
}

} // namespace

DiskInfo::DiskInfo(const unsigned char* statfs) {
    const darwin::StatfsRecord record = darwin::statfs64::Layout::decode(statfs);
    // A record with more free blocks than blocks is nonsense; nothing is used then.
    const uint64_t usedBlocks = record.blocks > record.bfree ? record.blocks - record.bfree : 0;
    filesystem_ = NameText::fromBytes(record.mntfromname);
    size_ = kilobytesOf(record.blocks, record.bsize);
    used_ = kilobytesOf(usedBlocks, record.bsize);
    avail_ = kilobytesOf(record.bavail, record.bsize);
    mounted_ = NameText::fromBytes(record.mntonname);
    fstype_ = NameText::fromBytes(record.fstypename);
    options_ = buildOptions(record.flags);
    capacity_ = capacityOf(record.blocks, record.bavail);
}

QStringList DiskInfo::buildOptions(uint32_t flags) {
    QStringList options;
    for (const MountFlagWord& entry : kMountFlagWords) {
        if ((flags & entry.flag) != 0) {
            options.append(QString::fromLatin1(entry.word));
        }
    }
    return options;
}
