#include "platform/darwin/linux/NetlinkDump.h"

#include <linux/netlink.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace darwin {

namespace {

// The int an NLMSG_DONE or NLMSG_ERROR message starts with; 0 when it is too short.
int leadingInt(std::span<const unsigned char> payload) {
    int value = 0;
    if (payload.size() >= sizeof value) {
        std::memcpy(&value, payload.data(), sizeof value);
    }
    return value;
}

} // namespace

NetlinkDump::Outcome NetlinkDump::run(std::span<const unsigned char> request,
                                      const Visitor& visit) {
    if (!source_.request(request)) {
        return Outcome::Failed;
    }
    bool interrupted = false;
    while (true) {
        const std::span<const unsigned char> datagram = source_.receive();
        if (datagram.empty()) {
            return Outcome::Failed;
        }
        switch (walkDatagram(datagram, visit, interrupted)) {
        case Walk::More:
            break;
        case Walk::Done:
            return interrupted ? Outcome::Interrupted : Outcome::Complete;
        case Walk::Failed:
            return Outcome::Failed;
        }
    }
}

// Once the dump is known to be interrupted its messages are only drained.
NetlinkDump::Walk NetlinkDump::walkDatagram(std::span<const unsigned char> bytes,
                                            const Visitor& visit, bool& interrupted) {
    for (size_t at = 0; at < bytes.size();) {
        nlmsghdr header{};
        if (bytes.size() - at < sizeof header) {
            errno = EIO;
            return Walk::Failed;
        }
        std::memcpy(&header, bytes.data() + at, sizeof header);
        if (header.nlmsg_len < sizeof header || header.nlmsg_len > bytes.size() - at) {
            errno = EIO;
            return Walk::Failed;
        }
        interrupted = interrupted || (header.nlmsg_flags & NLM_F_DUMP_INTR) != 0;
        const NetlinkMessage message{
            header.nlmsg_type, bytes.subspan(at + sizeof header, header.nlmsg_len - sizeof header)};
        switch (header.nlmsg_type) {
        case NLMSG_NOOP:
            break;
        case NLMSG_DONE: {
            // Since Linux 4.x a dump that ended early says why here.
            const int error = leadingInt(message.payload);
            if (error < 0) {
                errno = -error;
                return Walk::Failed;
            }
            return Walk::Done;
        }
        case NLMSG_ERROR: {
            const int error = leadingInt(message.payload);
            errno = error < 0 ? -error : EIO;
            return Walk::Failed;
        }
        case NLMSG_OVERRUN:
            errno = EIO;
            return Walk::Failed;
        default:
            if (!interrupted && !visit(message)) {
                errno = EIO;
                return Walk::Failed;
            }
        }
        at += std::min<size_t>(NLMSG_ALIGN(header.nlmsg_len), bytes.size() - at);
    }
    return Walk::More;
}

NetlinkDump::Outcome NetlinkDump::untilSettled(const std::function<Outcome()>& read) {
    Outcome outcome = Outcome::Interrupted;
    for (int attempt = 0; attempt < kAttempts && outcome == Outcome::Interrupted; ++attempt) {
        outcome = read();
    }
    return outcome;
}

bool NetlinkDump::readConsistently(const NetlinkConnector& connect,
                                   const std::function<Outcome(NetlinkSource&)>& read) {
    const std::unique_ptr<NetlinkSource> source = connect();
    if (source == nullptr) {
        return false;
    }
    const Outcome outcome = untilSettled([&] { return read(*source); });
    if (outcome == Outcome::Interrupted) {
        errno = EAGAIN; // the tables kept changing
    }
    return outcome == Outcome::Complete;
}

} // namespace darwin
