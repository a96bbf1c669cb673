#pragma once

#include "platform/ioreg/WirelessLink.h"

#include <QString>

#include <optional>

namespace ioreg {

// Asks the kernel's nl80211 family about one interface (NL80211_CMD_GET_INTERFACE) over
// a generic netlink socket that gives up after half a second without an answer. None
// when there is no such interface, no nl80211 or no answer.
class Nl80211Query {
public:
    static std::optional<WirelessLink> interfaceLink(const QString& interfaceName);
};

} // namespace ioreg
