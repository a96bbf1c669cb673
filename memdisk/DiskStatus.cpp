#include "memdisk/DiskStatus.h"

#include "common/LogCategories.h"
#include "common/NameText.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Statfs.h"
#include "platform/services/PlatformProfile.h"

#include <cerrno>
#include <cstring>

DiskStatus* DiskStatus::sharedInstance() {
    static DiskStatus* instance = new DiskStatus();
    return instance;
}

void DiskStatus::removeAllData() {
    info_.clear();
}

void DiskStatus::snapshot() {
    info_.clear();
    const unsigned char* records = nullptr;
    errno = 0;
    const int count = darwin::getmntinfo(&records, darwin::MNT_NOWAIT);
    // No mounts at all means the table could not be read: the root is always mounted.
    if (count <= 0) {
        qCWarning(lcMemDisk, "disks: getmntinfo: %s", std::strerror(errno != 0 ? errno : ENOENT));
    }
    for (int i = 0; i < count; ++i) {
        const unsigned char* record =
            records + static_cast<size_t>(i) * darwin::statfs64::Layout::kSize;
        const QString type = NameText::fromBytes(
            darwin::statfs64::Layout::read<&darwin::StatfsRecord::fstypename>(record));
        if (services::PlatformProfile::isListedFileSystemType(type)) {
            info_.append(DiskInfo(record));
        }
    }
}
