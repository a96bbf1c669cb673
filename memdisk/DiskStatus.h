#pragma once

#include "memdisk/DiskInfo.h"

#include <QList>

// The Disk tab's model: the mounted file systems that are the device's disks, one
// record each, in mount-table order. One instance per process.
class DiskStatus {
public:
    static DiskStatus* sharedInstance();

    DiskStatus(const DiskStatus&) = delete;
    DiskStatus& operator=(const DiskStatus&) = delete;

    // Replaces the records with the file systems mounted now; empty when the mount
    // table cannot be read.
    void snapshot();
    void removeAllData();
    const QList<DiskInfo>& info() const { return info_; }

private:
    friend struct DiskStatusTestAccess;
    DiskStatus() = default;

    QList<DiskInfo> info_;
};
