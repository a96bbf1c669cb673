#pragma once

#include "platform/darwin/linux/NetlinkAttributes.h"
#include "platform/darwin/linux/NetlinkSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>

namespace darwin {

// One message of a dump: its type (RTM_NEWLINK, …) and what follows its header.
struct NetlinkMessage {
    uint16_t type = 0;
    std::span<const unsigned char> payload;

    // The family header the payload starts with (ifinfomsg, ifaddrmsg, rtmsg, ndmsg) and
    // the attributes after it; false when the payload is too short for the header or an
    // attribute is malformed.
    template <class Header> bool read(Header& header, NetlinkAttributes& attributes) const {
        if (payload.size() < sizeof header) {
            return false;
        }
        std::memcpy(&header, payload.data(), sizeof header);
        const size_t aligned = std::min(payload.size(), (sizeof header + 3) & ~size_t{3});
        return attributes.parse(payload.subspan(aligned));
    }
};

// Reads whole dumps from a source, rtnetlink's and sock_diag's alike. Every message is
// checked against its datagram before it is handed on (a length below the header's or
// past the datagram's end fails the dump with EIO), and a dump counts only once the
// kernel has closed it with NLMSG_DONE. A dump during which the table changed
// (NLM_F_DUMP_INTR) is drained and reported as interrupted: what it delivered may be
// inconsistent and must be read again.
class NetlinkDump {
public:
    enum class Outcome { Complete, Interrupted, Failed };
    // Returns false for a message it cannot read: the dump then fails with EIO.
    using Visitor = std::function<bool(const NetlinkMessage&)>;

    explicit NetlinkDump(NetlinkSource& source) : source_(source) {}

    // Sends `request` (a whole dump request message) and walks the answer until
    // NLMSG_DONE. Failed leaves errno: the source's, the kernel's NLMSG_ERROR or EIO.
    Outcome run(std::span<const unsigned char> request, const Visitor& visit);

    // Runs `read` (a reading of one or more dumps, each attempt from nothing) until
    // none of its dumps was interrupted, at most kAttempts times: Interrupted when every
    // attempt was.
    static constexpr int kAttempts = 4;
    static Outcome untilSettled(const std::function<Outcome()>& read);
    // The same over a source opened by `connect`; false with errno, EAGAIN when the
    // tables kept changing.
    static bool readConsistently(const NetlinkConnector& connect,
                                 const std::function<Outcome(NetlinkSource&)>& read);

private:
    // The messages of one datagram: the dump goes on in the next (More), was closed by
    // NLMSG_DONE (Done), or failed.
    enum class Walk { More, Done, Failed };
    static Walk walkDatagram(std::span<const unsigned char> bytes, const Visitor& visit,
                             bool& interrupted);

    NetlinkSource& source_;
};

} // namespace darwin
