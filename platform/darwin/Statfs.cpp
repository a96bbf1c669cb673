#include "platform/darwin/Statfs.h"

#include "platform/darwin/ByteOrder.h"

#include <cerrno>
#include <cstring>

namespace darwin {

static_assert(statfs64::kFstypename + statfs64::kFstypenameSize == statfs64::kMntonname);
static_assert(statfs64::kMntonname + statfs64::kMntonnameSize == statfs64::kMntfromname);
static_assert(statfs64::kMntfromname + statfs64::kMntfromnameSize == statfs64::kReserved);
static_assert(statfs64::kReserved + 8 * 4 == statfs64::kSize);

bool mountTableWaits(int flags) {
    return (flags & MNT_NOWAIT) == 0 || (flags & (MNT_WAIT | MNT_DWAIT)) != 0;
}

void encodeStatfs(const StatfsRecord& record, unsigned char* bytes) {
    using namespace statfs64;
    std::memset(bytes, 0, kSize);
    writeLE<uint32_t>(bytes, kBsize, record.bsize);
    writeLE<int32_t>(bytes, kIosize, record.iosize);
    writeLE<uint64_t>(bytes, kBlocks, record.blocks);
    writeLE<uint64_t>(bytes, kBfree, record.bfree);
    writeLE<uint64_t>(bytes, kBavail, record.bavail);
    writeLE<uint64_t>(bytes, kFiles, record.files);
    writeLE<uint64_t>(bytes, kFfree, record.ffree);
    writeLE<uint32_t>(bytes, kOwner, record.owner);
    writeLE<uint32_t>(bytes, kType, record.type);
    writeLE<uint32_t>(bytes, kFlags, record.flags);
    writeLE<uint32_t>(bytes, kFssubtype, record.fssubtype);
    writeCString(bytes, kFstypename, kFstypenameSize, record.fstypename);
    writeCString(bytes, kMntonname, kMntonnameSize, record.mntonname);
    writeCString(bytes, kMntfromname, kMntfromnameSize, record.mntfromname);
}

StatfsRecord decodeStatfs(const unsigned char* bytes) {
    using namespace statfs64;
    StatfsRecord record;
    record.bsize = readLE<uint32_t>(bytes, kBsize);
    record.iosize = readLE<int32_t>(bytes, kIosize);
    record.blocks = readLE<uint64_t>(bytes, kBlocks);
    record.bfree = readLE<uint64_t>(bytes, kBfree);
    record.bavail = readLE<uint64_t>(bytes, kBavail);
    record.files = readLE<uint64_t>(bytes, kFiles);
    record.ffree = readLE<uint64_t>(bytes, kFfree);
    record.owner = readLE<uint32_t>(bytes, kOwner);
    record.type = readLE<uint32_t>(bytes, kType);
    record.flags = readLE<uint32_t>(bytes, kFlags);
    record.fssubtype = readLE<uint32_t>(bytes, kFssubtype);
    record.fstypename = readCString(bytes, kFstypename, kFstypenameSize);
    record.mntonname = readCString(bytes, kMntonname, kMntonnameSize);
    record.mntfromname = readCString(bytes, kMntfromname, kMntfromnameSize);
    return record;
}

int handOutMountTable(const std::vector<StatfsRecord>& records, const unsigned char** mntbufp) {
    if (mntbufp == nullptr) {
        errno = EFAULT;
        return 0;
    }
    thread_local std::vector<unsigned char> buffer;
    buffer.assign(records.size() * statfs64::kSize, 0);
    for (size_t i = 0; i < records.size(); ++i) {
        encodeStatfs(records[i], buffer.data() + i * statfs64::kSize);
    }
    *mntbufp = buffer.data();
    return static_cast<int>(records.size());
}

} // namespace darwin
