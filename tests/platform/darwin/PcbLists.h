#pragma once

#include "platform/darwin/Backend.h"
#include "platform/darwin/InPcb.h"
#include "platform/darwin/Route.h"

#include <arpa/inet.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// Reads the control-block lists through a backend the way the device's programs do, and
// describes their records in one line each.
namespace pcblists {

using Bytes = std::vector<unsigned char>;

// Probed, then filled. Null with errno set when either call fails.
inline std::optional<Bytes> read(darwin::Backend& backend, const char* name) {
    size_t length = 0;
    errno = 0;
    if (backend.sysctlbyname(name, nullptr, &length, nullptr, 0) != 0) {
        return std::nullopt;
    }
    Bytes list(length);
    if (backend.sysctlbyname(name, list.data(), &length, nullptr, 0) != 0) {
        return std::nullopt;
    }
    list.resize(length);
    return list;
}

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
    char text[INET6_ADDRSTRLEN] = {};
    if ((vflag & darwin::INP_IPV4) != 0) {
        ::inet_ntop(AF_INET, address.data() + 12, text, sizeof text);
        return std::string(text) + ":" + std::to_string(port);
    }
    ::inet_ntop(AF_INET6, address.data(), text, sizeof text);
    return "[" + std::string(text) + "]:" + std::to_string(port);
}

// "tcp46 inet6 0.0.0.0:5003 0.0.0.0:0 LISTEN", "raw4 inet 0.0.0.0:0 0.0.0.0:0 proto 1":
// the socket type with the record's vflag (4, 6, 46), the socket's family, the ends as
// the vflag says to read them, the TCP state, a raw socket's inp_ip_p.
inline std::string describe(const Bytes& record) {
    static const char* const kStates[] = {"CLOSED",      "LISTEN",     "SYN_SENT",   "SYN_RCVD",
                                          "ESTABLISHED", "CLOSE_WAIT", "FIN_WAIT_1", "CLOSING",
                                          "LAST_ACK",    "FIN_WAIT_2", "TIME_WAIT"};
    const bool tcp = record.size() == darwin::xtcpcb::Layout::kSize;
    const darwin::Xtcpcb tcpRecord =
        tcp ? darwin::xtcpcb::Layout::decode(record.data()) : darwin::Xtcpcb{};
    const darwin::Xinpcb other =
        tcp ? darwin::Xinpcb{} : darwin::xinpcb::Layout::decode(record.data());
    const darwin::InpcbImage& inp = tcp ? tcpRecord.inp : other.inp;
    const darwin::Xsocket& socket = tcp ? tcpRecord.socket : other.socket;
    std::string text = socket.protocol == darwin::IPPROTO_TCP_DARWIN   ? "tcp"
                       : socket.protocol == darwin::IPPROTO_UDP_DARWIN ? "udp"
                                                                       : "raw";
    text += (inp.vflag & darwin::INP_IPV4) != 0 ? "4" : "";
    text += (inp.vflag & darwin::INP_IPV6) != 0 ? "6" : "";
    text += socket.family == darwin::AF_INET6_DARWIN ? " inet6 " : " inet ";
    text +=
        endpoint(inp.laddr, inp.lport, inp.vflag) + " " + endpoint(inp.faddr, inp.fport, inp.vflag);
    if (tcp) {
        const int32_t state = tcpRecord.tcb.state;
        text += " ";
        text += state >= 0 && state < darwin::TCP_NSTATES ? kStates[state] : "?";
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

} // namespace pcblists
