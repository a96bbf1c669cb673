#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// One mounted file system as one struct statfs record describes it. Sizes are in
// kilobytes (parts of one rounded up) and 64 bits wide, so that disks above 2 TiB keep
// their true size, whatever the block size.
class DiskInfo {
public:
    // `statfs` holds one darwin::statfs64::Layout::kSize-byte record.
    explicit DiskInfo(const unsigned char* statfs);

    // The words of the mount flags set in `flags`, in the order the device lists them.
    static QStringList buildOptions(uint32_t flags);

    // The mounted device (/dev/disk0s1); it and the other two names as NameText shows
    // the kernel's bytes.
    const QString& filesystem() const { return filesystem_; }
    int64_t size() const { return size_; }
    int64_t used() const { return used_; }
    // Kilobytes free to ordinary users.
    int64_t avail() const { return avail_; }
    const QString& mounted() const { return mounted_; }
    const QString& fstype() const { return fstype_; }
    const QStringList& options() const { return options_; }
    // Percent of the blocks not free to ordinary users (those kept for the superuser
    // count as occupied), cut off to a whole number.
    int32_t capacity() const { return capacity_; }

private:
    QString filesystem_;
    int64_t size_ = 0;
    int64_t used_ = 0;
    int64_t avail_ = 0;
    QString mounted_;
    QString fstype_;
    QStringList options_;
    int32_t capacity_ = 0;
};
