#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device's mount records: struct statfs in its 64-bit-inode form (2168 bytes), as
// getmntinfo returns it to a 32-bit process, with the mount flags that fill it. Offsets
// are absolute within the record; every reader and writer goes through these.
namespace darwin {

namespace statfs64 {
constexpr size_t kSize = 2168;
constexpr size_t kBsize = 0;       // u32 f_bsize: the unit of the block counts
constexpr size_t kIosize = 4;      // int32 f_iosize: the preferred transfer size
constexpr size_t kBlocks = 8;      // u64 f_blocks
constexpr size_t kBfree = 16;      // u64 f_bfree
constexpr size_t kBavail = 24;     // u64 f_bavail: free to ordinary users
constexpr size_t kFiles = 32;      // u64 f_files
constexpr size_t kFfree = 40;      // u64 f_ffree
constexpr size_t kFsid = 48;       // int32 f_fsid.val[2]
constexpr size_t kOwner = 56;      // u32 f_owner: uid of whoever mounted it
constexpr size_t kType = 60;       // u32 f_type
constexpr size_t kFlags = 64;      // u32 f_flags: MNT_*
constexpr size_t kFssubtype = 68;  // u32 f_fssubtype
constexpr size_t kFstypename = 72; // char f_fstypename[MFSTYPENAMELEN]
constexpr size_t kFstypenameSize = 16;
constexpr size_t kMntonname = 88; // char f_mntonname[MAXPATHLEN]
constexpr size_t kMntonnameSize = 1024;
constexpr size_t kMntfromname = 1112; // char f_mntfromname[MAXPATHLEN]
constexpr size_t kMntfromnameSize = 1024;
constexpr size_t kReserved = 2136; // u32 f_reserved[8]
} // namespace statfs64

// f_flags.
constexpr uint32_t MNT_RDONLY = 0x1;
constexpr uint32_t MNT_SYNCHRONOUS = 0x2;
constexpr uint32_t MNT_NOEXEC = 0x4;
constexpr uint32_t MNT_NOSUID = 0x8;
constexpr uint32_t MNT_NODEV = 0x10;
constexpr uint32_t MNT_UNION = 0x20;
constexpr uint32_t MNT_ASYNC = 0x40;
constexpr uint32_t MNT_CPROTECT = 0x80;
constexpr uint32_t MNT_EXPORTED = 0x100;
constexpr uint32_t MNT_QUARANTINE = 0x400;
constexpr uint32_t MNT_LOCAL = 0x1000;
constexpr uint32_t MNT_QUOTA = 0x2000;
constexpr uint32_t MNT_ROOTFS = 0x4000;
constexpr uint32_t MNT_DOVOLFS = 0x8000;
constexpr uint32_t MNT_DONTBROWSE = 0x100000;
constexpr uint32_t MNT_IGNORE_OWNERSHIP = 0x200000;
constexpr uint32_t MNT_UNKNOWNPERMISSIONS = MNT_IGNORE_OWNERSHIP;
constexpr uint32_t MNT_AUTOMOUNTED = 0x400000;
constexpr uint32_t MNT_JOURNALED = 0x800000;
constexpr uint32_t MNT_NOUSERXATTR = 0x1000000;
constexpr uint32_t MNT_DEFWRITE = 0x2000000;
constexpr uint32_t MNT_MULTILABEL = 0x4000000;
constexpr uint32_t MNT_NOATIME = 0x10000000;

// getmntinfo modes.
constexpr int MNT_WAIT = 1;
constexpr int MNT_NOWAIT = 2;
constexpr int MNT_DWAIT = 4;

// Whether getmntinfo(flags) refreshes every file system's numbers (and may wait for a
// server to answer) rather than settle for what is at hand: xnu refreshes unless
// MNT_NOWAIT is given without MNT_WAIT or MNT_DWAIT.
bool mountTableWaits(int flags);

// The fields of struct statfs that the device's programs read; f_fsid and f_reserved
// are zero.
struct StatfsRecord {
    uint32_t bsize = 0;
    int32_t iosize = 0;
    uint64_t blocks = 0; // in units of bsize, like the two below
    uint64_t bfree = 0;
    uint64_t bavail = 0;
    uint64_t files = 0;
    uint64_t ffree = 0;
    uint32_t owner = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    uint32_t fssubtype = 0;
    std::string fstypename;  // up to 16 bytes are kept
    std::string mntonname;   // up to 1024 bytes are kept
    std::string mntfromname; // up to 1024 bytes are kept

    bool operator==(const StatfsRecord&) const = default;
};

// Writes all 2168 bytes, zero first; the names are cut to their fields the way strncpy
// does (a name as long as its field keeps no NUL).
void encodeStatfs(const StatfsRecord& record, unsigned char* record2168);
StatfsRecord decodeStatfs(const unsigned char* record2168);

// Answers getmntinfo with the given records: encodes them into the calling thread's
// buffer (which replaces the one of that thread's previous call), points *mntbufp at it
// and returns their number. 0 with EFAULT for a null mntbufp, nothing replaced.
int handOutMountTable(const std::vector<StatfsRecord>& records, const unsigned char** mntbufp);

} // namespace darwin
