#pragma once

#include "platform/darwin/linux/InetSocket.h"

#include <string_view>
#include <vector>

namespace darwin {

// The raw sockets of a /proc/net/raw (family AF_INET) or /proc/net/raw6 (AF_INET6)
// table, appended to `into` in the table's order: for kernels without raw socket dumps
// (no CONFIG_INET_RAW_DIAG). Addresses are the kernel's words in hexadecimal, each as
// the host stores it; the local port is the socket's protocol. False, `into` as it
// was, when a line after the heading does not parse.
bool readProcNetRaw(std::string_view table, int family, std::vector<InetSocket>& into);

} // namespace darwin
