#include "platform/services/RoutingTablePath.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace services {

namespace {

constexpr unsigned kRouteUp = 0x1; // RTF_UP

QList<QStringList> tableRows(const QString& path, bool* readable) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    *readable = true;
    QList<QStringList> rows;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine());
        rows.append(line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts));
    }
    return rows;
}

} // namespace

std::optional<QString> RoutingTablePath::ipv4DefaultInterface(const QString& root, bool* readable) {
    // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask …; first line a header.
    const QList<QStringList> rows = tableRows(root + "/proc/net/route", readable);
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        if (row.size() < 8 || row[0] == "lo") {
            continue;
        }
        const unsigned flags = row[3].toUInt(nullptr, 16);
        if ((flags & kRouteUp) && row[1].toUInt(nullptr, 16) == 0 &&
            row[7].toUInt(nullptr, 16) == 0) {
            return row[0];
        }
    }
    return std::nullopt;
}

std::optional<QString> RoutingTablePath::ipv4DefaultInterface(const QString& root) {
    bool readable = false;
    return ipv4DefaultInterface(root, &readable);
}

std::optional<QString> RoutingTablePath::ipv6DefaultInterface(const QString& root, bool* readable) {
    // Columns: dest destlen src srclen nexthop metric refcnt use flags iface; no header.
    const QList<QStringList> rows = tableRows(root + "/proc/net/ipv6_route", readable);
    for (const QStringList& row : rows) {
        if (row.size() < 10 || row[9] == "lo") {
            continue;
        }
        const unsigned flags = row[8].toUInt(nullptr, 16);
        const bool unreachable = flags & 0x200; // RTF_REJECT
        if ((flags & kRouteUp) && !unreachable && row[1] == "00" && row[0] == QString(32, '0')) {
            return row[9];
        }
    }
    return std::nullopt;
}

bool RoutingTablePath::isCellularInterface(const QString& root, const QString& interfaceName) {
    QFile uevent(root + "/sys/class/net/" + interfaceName + "/uevent");
    if (!uevent.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    return QString::fromLatin1(uevent.readAll()).split('\n').contains("DEVTYPE=wwan");
}

std::optional<NetworkPath> RoutingTablePath::read(const QString& root) {
    bool readable = false;
    std::optional<QString> interfaceName = ipv4DefaultInterface(root, &readable);
    if (!interfaceName) {
        interfaceName = ipv6DefaultInterface(root, &readable);
    }
    if (!readable) {
        return std::nullopt;
    }
    NetworkPath path;
    path.exists = interfaceName.has_value();
    path.cellular = path.exists && isCellularInterface(root, *interfaceName);
    return path;
}

} // namespace services
