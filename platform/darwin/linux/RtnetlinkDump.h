#pragma once

#include "platform/darwin/linux/NetlinkDump.h"

#include <cstdint>

namespace darwin {

// Runs one rtnetlink dump over `source`: `type` (RTM_GETLINK, RTM_GETADDR, RTM_GETROUTE,
// RTM_GETNEIGH) of `family`, every message handed to `visit`.
NetlinkDump::Outcome runRtnetlinkDump(NetlinkSource& source, uint16_t type, uint8_t family,
                                      const NetlinkDump::Visitor& visit);

} // namespace darwin
