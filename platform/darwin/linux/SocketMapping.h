#pragma once

#include "platform/darwin/InPcb.h"
#include "platform/darwin/linux/InetSocket.h"

#include <cstddef>
#include <cstdint>
#include <span>

// How the device's kernel would list the host's sockets: the mapping from a socket
// dump to the control-block lists of sysctlbyname("net.inet.{tcp,udp,raw}.pcblist").
namespace darwin {

enum class PcbListKind : uint8_t { Tcp, Udp, Raw };

// The Linux TCP_* state numbers the mapping reads (include/net/tcp_states.h).
constexpr uint8_t kLinuxTcpEstablished = 1;
constexpr uint8_t kLinuxTcpListen = 10;

size_t pcbRecordSize(PcbListKind kind);
// What the list takes: the leading xinpgen, the records and the closing xinpgen; a list
// without sockets is the leading xinpgen alone, as the device's kernel leaves it.
size_t pcbListSize(PcbListKind kind, size_t sockets);
// What a size probe reports: the device kernel's 2 × 24 + (n + n/8) × record size, room
// for sockets opened before the fill.
size_t pcbListProbeSize(PcbListKind kind, size_t sockets);

// Writes the list of pcbListSize bytes at out. Every record carries `generation`, and
// so do both xinpgen headers (xig_gen and xig_sogen): no record is newer than its list.
void writePcbList(PcbListKind kind, std::span<const InetSocket> sockets, uint64_t generation,
                  unsigned char* out);

int32_t deviceTcpState(uint8_t linuxState);
uint8_t deviceVflag(const InetSocket& socket, PcbListKind kind);
InpcbImage deviceInpcb(const InetSocket& socket, PcbListKind kind, uint64_t generation);
Xsocket deviceXsocket(const InetSocket& socket, PcbListKind kind);

} // namespace darwin
