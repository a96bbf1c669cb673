#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace services {

// Reachability flags as the device reports them.
constexpr uint32_t kSCNetworkReachabilityFlagsReachable = 0x2;
constexpr uint32_t kSCNetworkReachabilityFlagsIsWWAN = 0x40000;

// The two facts the flags are made of: whether any path to the Internet exists, and
// whether that path runs over a cellular (WWAN) link.
struct NetworkPath {
    bool exists = false;
    bool cellular = false;
};

// A reachability reference for a host name. The flags come from the host's network
// status service (QNetworkInformation) when it has a backend that knows the answer,
// else from the routing table (a default route, and the kind of link it leaves by).
// No name is resolved and no packet is sent.
class NetworkReachability {
public:
    using PathSource = std::function<std::optional<NetworkPath>()>;

    // SCNetworkReachabilityCreateWithName: nothing when the name is empty.
    static std::unique_ptr<NetworkReachability> createWithName(const QString& hostName);

    // SCNetworkReachabilityGetFlags: false when no source could tell.
    bool getFlags(uint32_t* flags) const;

    const QString& hostName() const { return name; }

    // Replaces where the path facts come from (tests); an empty function restores the host's.
    static void setPathSource(PathSource source);

    static uint32_t flagsForPath(const NetworkPath& path);

private:
    explicit NetworkReachability(QString hostName) : name(std::move(hostName)) {}
    static std::optional<NetworkPath> hostPath();

    QString name;
};

} // namespace services
