#pragma once

#include "platform/darwin/Route.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstdio>
#include <string>
#include <vector>

// Reads routing-socket answers the way the device's programs do, with the record layouts:
// messages split by their msglen, the socket addresses after a header by sa_len.
namespace routingmessages {

using Bytes = std::vector<unsigned char>;

// The routing table and the interface list.
inline const std::vector<int> kRouteDump = {
    darwin::CTL_NET, darwin::PF_ROUTE_DARWIN, 0, 0, darwin::NET_RT_DUMP, 0};
inline const std::vector<int> kInterfaceList = {darwin::CTL_NET, darwin::PF_ROUTE_DARWIN, 0,
                                                darwin::AF_LINK, darwin::NET_RT_IFLIST2,  0};

// The messages of an answer. A message that is shorter than its head or runs past the
// answer is a failure.
inline std::vector<Bytes> split(const Bytes& answer) {
    std::vector<Bytes> messages;
    for (size_t at = 0; at < answer.size();) {
        const size_t length = darwin::sockaddr::Layout::kSize <= answer.size() - at
                                  ? size_t{answer[at]} | size_t{answer[at + 1]} << 8
                                  : 0;
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

inline uint8_t messageType(const Bytes& message) {
    return message[3];
}

// "10.0.0.1", "fe80::1%3", "link#3", "link#3 02:00:00:00:00:01", "v0 link#3 02:…" (an
// interface's name first), "?" for a family it does not know.
inline std::string addressText(const unsigned char* at) {
    using namespace darwin;
    char text[INET6_ADDRSTRLEN] = {};
    switch (sockaddr::Layout::decode(at).family) {
    case AF_INET_DARWIN:
        return inet_ntop(AF_INET, sockaddr_in::Layout::decode(at).addr.data(), text, sizeof text);
    case AF_INET6_DARWIN: {
        const SockaddrIn6 address = sockaddr_in6::Layout::decode(at);
        inet_ntop(AF_INET6, address.addr.data(), text, sizeof text);
        return text + (address.scopeId != 0 ? "%" + std::to_string(address.scopeId) : "");
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

// An RTM_GET message as "destination [netmask] gateway FLAGS #index".
inline std::string routeLine(const Bytes& message) {
    using namespace darwin;
    const RtMsghdr header = rt_msghdr::Layout::decode(message.data());
    const std::vector<std::string> texts =
        addressesOf(message, rt_msghdr::Layout::kSize, header.addrs);
    return texts[0] + (texts[2].empty() ? "" : " mask " + texts[2]) + " via " + texts[1] + " " +
           flagLetters(header.flags) + " #" + std::to_string(header.index);
}

// The route lines of a NET_RT_DUMP answer of one family.
inline std::vector<std::string> routeLines(const Bytes& answer, uint8_t family) {
    std::vector<std::string> lines;
    for (const Bytes& message : split(answer)) {
        if (message.size() > darwin::rt_msghdr::Layout::kSize + 1 &&
            message[darwin::rt_msghdr::Layout::kSize + 1] == family) {
            lines.push_back(routeLine(message));
        }
    }
    return lines;
}

} // namespace routingmessages
