#pragma once

#include <cstdint>

// How Linux routes and neighbour entries appear in the device's routing table: the
// RTF_* flags of each route type, protocol and neighbour state, and which neighbours
// the device would list. The reasons are in docs/PLATFORM-LINUX.md.
namespace darwin {

// The flags of a route's type (RTN_*).
int32_t routeTypeFlags(uint8_t type);
// The flags of the protocol that installed a route (RTPROT_*).
int32_t routeProtocolFlags(uint8_t protocol);
// A network route the kernel made for an address of its interface, reached on the link.
bool isConnectedRoute(uint8_t family, uint8_t type, uint8_t protocol, uint8_t scope,
                      bool hasGateway, bool isHost);

// An IPv4 neighbour entry in that NUD_* state is listed as an ARP entry.
bool listsNeighbour(uint16_t state);
// The flags of a listed neighbour entry.
int32_t neighbourFlags(uint16_t state);

} // namespace darwin
