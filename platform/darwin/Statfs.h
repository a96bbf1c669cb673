#pragma once

#include "platform/darwin/RecordLayout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device's mount records: struct statfs in its 64-bit-inode form (2168 bytes), as
// getmntinfo returns it to a 32-bit process, with the mount flags that fill it. Every
// reader and writer goes through its layout.
namespace darwin {

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

// The names are cut to their fields the way strncpy does (a name as long as its field
// keeps no NUL).
namespace statfs64 {
using Layout = RecordLayout<StatfsRecord, 2168,                  // struct statfs, 64-bit-inode form
                            Field<&StatfsRecord::bsize, 0>,      // f_bsize
                            Field<&StatfsRecord::iosize, 4>,     // f_iosize
                            Field<&StatfsRecord::blocks, 8>,     // f_blocks
                            Field<&StatfsRecord::bfree, 16>,     // f_bfree
                            Field<&StatfsRecord::bavail, 24>,    // f_bavail
                            Field<&StatfsRecord::files, 32>,     // f_files
                            Field<&StatfsRecord::ffree, 40>,     // f_ffree, then f_fsid
                            Field<&StatfsRecord::owner, 56>,     // f_owner
                            Field<&StatfsRecord::type, 60>,      // f_type
                            Field<&StatfsRecord::flags, 64>,     // f_flags
                            Field<&StatfsRecord::fssubtype, 68>, // f_fssubtype
                            Field<&StatfsRecord::fstypename, 72, Text<16>>,       // f_fstypename
                            Field<&StatfsRecord::mntonname, 88, Text<1024>>,      // f_mntonname
                            Field<&StatfsRecord::mntfromname, 1112, Text<1024>>>; // f_mntfromname
} // namespace statfs64

// Answers getmntinfo with the given records: encodes them into the calling thread's
// buffer (which replaces the one of that thread's previous call), points *mntbufp at it
// and returns their number. 0 with EFAULT for a null mntbufp, nothing replaced.
int handOutMountTable(const std::vector<StatfsRecord>& records, const unsigned char** mntbufp);

} // namespace darwin
