#include "memdisk/DiskStatus.h"

#include "platform/darwin/Darwin.h"
#include "platform/darwin/Statfs.h"
#include "platform/services/PlatformProfile.h"

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
    const int count = darwin::getmntinfo(&records, darwin::MNT_NOWAIT);
    for (int i = 0; i < count; ++i) {
        const unsigned char* record =
            records + static_cast<size_t>(i) * darwin::statfs64::Layout::kSize;
        const QString type = QString::fromStdString(
            darwin::statfs64::Layout::read<&darwin::StatfsRecord::fstypename>(record));
        if (services::PlatformProfile::isListedFileSystemType(type)) {
            info_.append(DiskInfo(record));
        }
    }
}
