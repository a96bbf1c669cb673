#include "platform/services/NetworkReachability.h"

#include "platform/services/RoutingTablePath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QNetworkInformation>

#include <mutex>

namespace services {

namespace {

std::mutex sourceMutex;
NetworkReachability::PathSource& pathSourceOverride() {
    static NetworkReachability::PathSource source;
    return source;
}

bool hasSystemBus() {
    const QByteArray address = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    return !address.isEmpty() || QFileInfo::exists(QStringLiteral("/run/dbus/system_bus_socket"));
}

// The status service answers only when a backend is loaded and knows the state. Its
// backends talk to the system bus, so without one nothing is loaded (and nothing waits).
std::optional<NetworkPath> pathFromNetworkInformation(const std::optional<NetworkPath>& routes) {
    if (QCoreApplication::instance() == nullptr) {
        return std::nullopt;
    }
    if (QNetworkInformation::instance() == nullptr &&
        (!hasSystemBus() ||
         !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))) {
        return std::nullopt;
    }
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (info == nullptr || info->reachability() == QNetworkInformation::Reachability::Unknown) {
        return std::nullopt;
    }
    NetworkPath path;
    path.exists = info->reachability() == QNetworkInformation::Reachability::Online;
    // Backends that cannot tell the link's medium leave that fact to the routing table.
    if (info->supports(QNetworkInformation::Feature::TransportMedium)) {
        path.cellular = info->transportMedium() == QNetworkInformation::TransportMedium::Cellular;
    } else {
        path.cellular = routes && routes->cellular;
    }
    return path;
}

} // namespace

std::unique_ptr<NetworkReachability> NetworkReachability::createWithName(const QString& hostName) {
    if (hostName.isEmpty()) {
        return nullptr;
    }
    return std::unique_ptr<NetworkReachability>(new NetworkReachability(hostName));
}

void NetworkReachability::setPathSource(PathSource source) {
    std::lock_guard lock(sourceMutex);
    pathSourceOverride() = std::move(source);
}

uint32_t NetworkReachability::flagsForPath(const NetworkPath& path) {
    uint32_t flags = 0;
    if (path.exists) {
        flags |= kSCNetworkReachabilityFlagsReachable;
        if (path.cellular) {
            flags |= kSCNetworkReachabilityFlagsIsWWAN;
        }
    }
    return flags;
}

std::optional<NetworkPath> NetworkReachability::hostPath() {
    const std::optional<NetworkPath> routes = RoutingTablePath::read(QStringLiteral("/"));
    if (auto path = pathFromNetworkInformation(routes)) {
        return path;
    }
    return routes;
}

bool NetworkReachability::getFlags(uint32_t* flags) const {
    PathSource source;
    {
        std::lock_guard lock(sourceMutex);
        source = pathSourceOverride();
    }
    const std::optional<NetworkPath> path = source ? source() : hostPath();
    if (!path || flags == nullptr) {
        return false;
    }
    *flags = flagsForPath(*path);
    return true;
}

} // namespace services
