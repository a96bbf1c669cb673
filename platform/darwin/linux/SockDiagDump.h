#pragma once

#include "platform/darwin/linux/InetSocket.h"
#include "platform/darwin/linux/SockDiagSource.h"

#include <vector>

namespace darwin {

// Reads one socket dump from source and appends its sockets to `into`, in the kernel's
// order. Every message and attribute is checked against the datagram that holds it:
// a length below its header or past its end, a datagram that ends inside a message, an
// answer that stops before NLMSG_DONE or a kernel error ends the read with errno set
// (EIO for what does not parse, the kernel's own error otherwise) and `into` as it
// was. A dump the kernel marks NLM_F_DUMP_INTR (the tables changed under it) is read
// to its end, dropped and asked for again, a few times at most (then EIO).
bool readSockDiagDump(SockDiagSource& source, const SockDiagQuery& query,
                      std::vector<InetSocket>& into);

} // namespace darwin
