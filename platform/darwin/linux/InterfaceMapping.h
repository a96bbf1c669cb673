#pragma once

#include <cstdint>
#include <string_view>

// How a Linux link appears on the device: its interface type (IFT_*) from the hardware
// type (ARPHRD_*) and the driver's kind, its flags (IFF_*_DARWIN), and whether its
// hardware address is a link-level address the device would show.
namespace darwin {

uint8_t interfaceTypeOf(uint16_t hardwareType, std::string_view kind);
uint32_t interfaceFlagsOf(uint32_t linuxFlags, uint8_t interfaceType);
bool showsLinkAddress(uint8_t interfaceType);

} // namespace darwin
