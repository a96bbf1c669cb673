#include "platform/ioreg/FlashStorage.h"

#include <QFileInfo>
#include <QStringList>

namespace ioreg {

namespace {

const QString kMtd = QStringLiteral("sys/class/mtd/mtd0/");

Service emptyService() {
    return Service{QString::fromLatin1(FlashStorage::kClassName), {}};
}

void setType(Service& service, const QString& type) {
    service.setProperty(QStringLiteral("device_type"),
                        Value::data(type.toUtf8() + QByteArray(1, '\0')));
}

void setDescription(Service& service, const std::optional<QString>& description) {
    if (description) {
        service.setProperty(QStringLiteral("device-description"), Value::string(*description));
    }
}

} // namespace

std::optional<Service> FlashStorage::read(const HostTree& host) {
    if (auto flash = rawFlash(host)) {
        return flash;
    }
    return rootDisk(host);
}

std::optional<Service> FlashStorage::rawFlash(const HostTree& host) {
    const auto type = host.text(kMtd + QStringLiteral("type"));
    if (!type) {
        return std::nullopt;
    }
    Service service = emptyService();
    setType(service, *type);
    setDescription(service, host.text(kMtd + QStringLiteral("name")));
    const auto pageBytes = host.number(kMtd + QStringLiteral("writesize"));
    const auto blockBytes = host.number(kMtd + QStringLiteral("erasesize"));
    if (pageBytes && *pageBytes > 0) {
        service.setProperty(QStringLiteral("#page-bytes"), Value::number(*pageBytes));
        if (blockBytes && *blockBytes > 0 && *blockBytes % *pageBytes == 0) {
            service.setProperty(QStringLiteral("#block-pages"),
                                Value::number(*blockBytes / *pageBytes));
        }
    }
    return service;
}

std::optional<Service> FlashStorage::rootDisk(const HostTree& host) {
    const auto name = rootDiskName(host);
    if (!name) {
        return std::nullopt;
    }
    const QString dir = QStringLiteral("sys/block/") + *name + QLatin1Char('/');
    if (host.number(dir + QStringLiteral("queue/rotational")) != 0) {
        return std::nullopt;
    }
    Service service = emptyService();
    if (name->startsWith(QLatin1String("mmcblk"))) {
        setType(service, host.text(dir + QStringLiteral("device/type")).value_or("MMC"));
        setDescription(service, host.text(dir + QStringLiteral("device/name")));
    } else if (name->startsWith(QLatin1String("nvme"))) {
        setType(service, QStringLiteral("NVMe"));
        setDescription(service, host.text(dir + QStringLiteral("device/model")));
    } else {
        setType(service, QStringLiteral("SSD"));
        setDescription(service, host.text(dir + QStringLiteral("device/model")));
    }
    return service;
}

// The whole disk under the block device mounted at "/", by its device number in
// /proc/self/mountinfo and the /sys/dev/block link of that number.
std::optional<QString> FlashStorage::rootDiskName(const HostTree& host) {
    const auto mountinfo = host.text(QStringLiteral("proc/self/mountinfo"));
    if (!mountinfo) {
        return std::nullopt;
    }
    for (const QString& line : mountinfo->split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() < 5 || fields[4] != QLatin1String("/")) {
            continue;
        }
        const QFileInfo link(host.path(QStringLiteral("sys/dev/block/") + fields[2]));
        const QString device = link.canonicalFilePath();
        if (device.isEmpty()) {
            return std::nullopt;
        }
        const QFileInfo partition(device + QStringLiteral("/partition"));
        return partition.exists() ? QFileInfo(QFileInfo(device).path()).fileName()
                                  : QFileInfo(device).fileName();
    }
    return std::nullopt;
}

} // namespace ioreg
