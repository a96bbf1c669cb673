#pragma once

#include "platform/darwin/InPcb.h"
#include "platform/darwin/Route.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// Reads the device's network buffers the way its programs do, with the record layouts:
// routing-socket answers split by msglen, the socket addresses after a header by sa_len;
// control-block lists record by record. Each reads as one line of text.
namespace networkreads {

using Bytes = std::vector<unsigned char>;

inline std::string ipText(int family, const uint8_t* address) {
    char text[INET6_ADDRSTRLEN] = {};
    return ::inet_ntop(family, address, text, sizeof text);
}

// ---- Routing-socket answers ----

// The messages of an answer. A message that is shorter than its head or runs past the
// answer is a failure.
inline std::vector<Bytes> split(const Bytes& answer) {
    std::vector<Bytes> messages;
    for (size_t at = 0; at < answer.size();) {
        const size_t length =
            answer.size() - at >= 4 ? size_t{answer[at]} | size_t{answer[at + 1]} << 8 : 0;
        if (length < 4 || length > answer.size() - at) {
            ADD_FAILURE() << "a message of " << length << " bytes at " << at;
            break;
        }
        messages.emplace_back(answer.begin() + static_cast<ptrdiff_t>(at),
                              answer.begin() + static_cast<ptrdiff_t>(at + length));
        at += length;
    }
    return messages;
}

// "10.0.0.1", "fe80::1%3", "link#3", "link#3 02:00:00:00:00:01", "v0 link#3 02:…" (an
// interface's name first), "?" for a family it does not know.
inline std::string addressText(const unsigned char* at) {
    using namespace darwin;
    switch (sockaddr::Layout::decode(at).family) {
    case AF_INET_DARWIN:
        return ipText(AF_INET, sockaddr_in::Layout::decode(at).addr.data());
    case AF_INET6_DARWIN: {
        const SockaddrIn6 address = sockaddr_in6::Layout::decode(at);
        return ipText(AF_INET6, address.addr.data()) +
               (address.scopeId != 0 ? "%" + std::to_string(address.scopeId) : "");
    }
    case AF_LINK: {
        const SockaddrDl link = sockaddr_dl::Layout::decode(at);
        const auto* data = reinterpret_cast<const char*>(at + sockaddr_dl::kDataOffset);
        std::string shown = link.nlen != 0 ? std::string(data, link.nlen) + " " : "";
        shown += "link#" + std::to_string(link.index);
        for (size_t i = 0; i < link.alen; ++i) {
            char octet[4];
            std::snprintf(octet, sizeof octet, "%c%02x", i == 0 ? ' ' : ':',
                          static_cast<unsigned char>(data[link.nlen + i]));
            shown += octet;
        }
        return shown;
    }
    default:
        return "?";
    }
}

// The addresses a header's bit mask names, in RTA order, as text; empty for a bit that
// is not set.
inline std::vector<std::string> addressesOf(const Bytes& message, size_t headerSize,
                                            int32_t addrs) {
    std::vector<std::string> texts;
    size_t at = headerSize;
    for (int32_t bit = 1; bit <= darwin::RTA_BRD; bit <<= 1) {
        if ((addrs & bit) == 0 || at >= message.size()) {
            texts.emplace_back();
            continue;
        }
        texts.push_back(addressText(message.data() + at));
        at += darwin::socketAddressSpan(message[at]);
    }
    return texts;
}

// The route flags as netstat's letters, in the order of this table.
inline std::string flagLetters(int32_t flags) {
    using namespace darwin;
    static const std::pair<int32_t, char> letters[] = {
        {RTF_UP, 'U'},        {RTF_GATEWAY, 'G'},   {RTF_HOST, 'H'},     {RTF_REJECT, 'R'},
        {RTF_DYNAMIC, 'D'},   {RTF_CLONING, 'C'},   {RTF_XRESOLVE, 'X'}, {RTF_LLINFO, 'L'},
        {RTF_STATIC, 'S'},    {RTF_BLACKHOLE, 'B'}, {RTF_LOCAL, 'l'},    {RTF_BROADCAST, 'b'},
        {RTF_MULTICAST, 'm'},
    };
    std::string text;
    for (const auto& [bit, letter] : letters) {
        if ((flags & bit) != 0) {
            text += letter;
            flags &= ~bit;
        }
    }
    return flags == 0 ? text : text + "+" + std::to_string(flags);
}

// An RTM_GET message as "destination [mask netmask] via gateway FLAGS #index".
inline std::string routeLine(const Bytes& message) {
    using namespace darwin;
    const RtMsghdr header = rt_msghdr::Layout::decode(message.data());
    const std::vector<std::string> texts =
        addressesOf(message, rt_msghdr::Layout::kSize, header.addrs);
    return texts[0] + (texts[2].empty() ? "" : " mask " + texts[2]) + " via " + texts[1] + " " +
           flagLetters(header.flags) + " #" + std::to_string(header.index);
}

// The route lines of a NET_RT_DUMP answer; of one family's destinations when one is given.
inline std::vector<std::string> routeLines(const Bytes& answer, uint8_t family = 0) {
    std::vector<std::string> lines;
    for (const Bytes& message : split(answer)) {
        const size_t familyAt = darwin::rt_msghdr::Layout::kSize + 1;
        if (family == 0 || (message.size() > familyAt && message[familyAt] == family)) {
            lines.push_back(routeLine(message));
        }
    }
    return lines;
}

// An NET_RT_IFLIST2 answer: each link as "v0 link#3 02:00:00:00:00:01 type 6 flags 0x8843
// mtu 1500", each address after it as "  #3 10.0.0.1 mask 255.255.255.0[ brd 10.0.0.255]".
inline std::vector<std::string> interfaceLines(const Bytes& list) {
    using namespace darwin;
    std::vector<std::string> lines;
    for (const Bytes& message : split(list)) {
        if (message[3] == RTM_IFINFO2) {
            const IfMsghdr2 header = if_msghdr2::Layout::decode(message.data());
            char flags[16];
            std::snprintf(flags, sizeof flags, "%#x", static_cast<unsigned>(header.flags));
            lines.push_back(addressText(message.data() + if_msghdr2::Layout::kSize) + " type " +
                            std::to_string(header.data.type) + " flags " + flags + " mtu " +
                            std::to_string(header.data.mtu));
            continue;
        }
        EXPECT_EQ(message[3], darwin::RTM_NEWADDR);
        const IfaMsghdr header = ifa_msghdr::Layout::decode(message.data());
        const auto texts = addressesOf(message, ifa_msghdr::Layout::kSize, header.addrs);
        lines.push_back("  #" + std::to_string(header.index) + " " + texts[5] + " mask " +
                        texts[2] + (texts[7].empty() ? "" : " brd " + texts[7]));
    }
    return lines;
}

// ---- Control-block lists ----

struct Walk {
    darwin::Xinpgen header;
    std::vector<Bytes> records;
    std::optional<darwin::Xinpgen> closing;
    bool endsCleanly = false; // at the closing header, or after the leading one alone
};

// Record by record, each by its own length, never past the list.
inline Walk walk(const Bytes& list) {
    using darwin::xinpgen::Layout;
    Walk walk;
    if (list.size() < Layout::kSize) {
        return walk;
    }
    walk.header = Layout::decode(list.data());
    size_t at = Layout::kSize;
    while (list.size() - at >= 4) {
        uint32_t length = 0;
        std::memcpy(&length, list.data() + at, 4);
        if (length < Layout::kSize || length > list.size() - at) {
            return walk;
        }
        if (length == Layout::kSize) {
            walk.closing = Layout::decode(list.data() + at);
            walk.endsCleanly = at + length == list.size();
            return walk;
        }
        walk.records.emplace_back(list.begin() + static_cast<ptrdiff_t>(at),
                                  list.begin() + static_cast<ptrdiff_t>(at + length));
        at += length;
    }
    walk.endsCleanly = at == list.size() && walk.records.empty();
    return walk;
}

inline std::string endpoint(const std::array<uint8_t, 16>& address, uint16_t port, uint8_t vflag) {
    if ((vflag & darwin::INP_IPV4) != 0) {
        return ipText(AF_INET, address.data() + 12) + ":" + std::to_string(port);
    }
    return "[" + ipText(AF_INET6, address.data()) + "]:" + std::to_string(port);
}

// "tcp46 inet6 0.0.0.0:5003 0.0.0.0:0 LISTEN", "raw4 inet 0.0.0.0:0 0.0.0.0:0 proto 1":
// the socket type with the record's vflag (4, 6, 46), the socket's family, the ends as
// the vflag says to read them, the TCP state, a raw socket's inp_ip_p.
inline std::string describe(const Bytes& record) {
    static const char* const kStates[] = {"CLOSED",      "LISTEN",     "SYN_SENT",   "SYN_RCVD",
                                          "ESTABLISHED", "CLOSE_WAIT", "FIN_WAIT_1", "CLOSING",
                                          "LAST_ACK",    "FIN_WAIT_2", "TIME_WAIT"};
    using namespace darwin;
    const bool tcp = record.size() == xtcpcb::Layout::kSize;
    const InpcbImage inp = tcp ? xtcpcb::Layout::read<&Xtcpcb::inp>(record.data())
                               : xinpcb::Layout::read<&Xinpcb::inp>(record.data());
    const Xsocket socket = tcp ? xtcpcb::Layout::read<&Xtcpcb::socket>(record.data())
                               : xinpcb::Layout::read<&Xinpcb::socket>(record.data());
    std::string text = socket.protocol == IPPROTO_TCP_DARWIN   ? "tcp"
                       : socket.protocol == IPPROTO_UDP_DARWIN ? "udp"
                                                               : "raw";
    text += (inp.vflag & INP_IPV4) != 0 ? "4" : "";
    text += (inp.vflag & INP_IPV6) != 0 ? "6" : "";
    text += socket.family == AF_INET6_DARWIN ? " inet6 " : " inet ";
    text +=
        endpoint(inp.laddr, inp.lport, inp.vflag) + " " + endpoint(inp.faddr, inp.fport, inp.vflag);
    if (tcp) {
        const int32_t state = xtcpcb::Layout::read<&Xtcpcb::tcb>(record.data()).state;
        text += " ";
        text += state >= 0 && state < TCP_NSTATES ? kStates[state] : "?";
    } else if (text.starts_with("raw")) {
        text += " proto " + std::to_string(inp.ipP);
    }
    return text;
}

inline std::vector<std::string> describeAll(const Walk& walk) {
    std::vector<std::string> lines;
    for (const Bytes& record : walk.records) {
        lines.push_back(describe(record));
    }
    return lines;
}

} // namespace networkreads
