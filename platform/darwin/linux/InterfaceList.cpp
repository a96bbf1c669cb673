#include "platform/darwin/linux/InterfaceList.h"

#include "platform/darwin/Route.h"
#include "platform/darwin/linux/InetAddress.h"
#include "platform/darwin/linux/InterfaceMapping.h"
#include "platform/darwin/linux/MessageSink.h"

#include <linux/if_addr.h>
#include <sys/socket.h>

#include <algorithm>
#include <limits>

namespace darwin {

namespace {

// A link as the device shows it.
struct LinkForm {
    uint8_t type = 0;
    uint32_t flags = 0;
    std::vector<uint8_t> linkAddress;
    std::vector<unsigned char> socketAddress; // sockaddr_dl
};

LinkForm linkFormOf(const NetlinkLink& link) {
    LinkForm form;
    form.type = interfaceTypeOf(link.hardwareType, link.kind);
    form.flags = interfaceFlagsOf(link.flags, form.type);
    if (showsLinkAddress(form.type)) {
        form.linkAddress = link.address;
    }
    form.socketAddress =
        socketAddressDl(static_cast<uint16_t>(link.index), form.type, link.name, form.linkAddress);
    return form;
}

// The device-form socket addresses of one interface address; destination is the
// broadcast address, or the peer of a point-to-point link.
struct AddressForm {
    std::vector<unsigned char> address;
    std::vector<unsigned char> netmask;
    std::vector<unsigned char> destination;
};

std::vector<unsigned char> socketAddressOf(const NetlinkAddress& of,
                                           const std::array<uint8_t, 16>& bytes) {
    if (of.family == AF_INET) {
        return socketAddressIn(firstFour(bytes));
    }
    return socketAddressIn6(bytes, isLinkLocalIn6(bytes.data()) ? of.index : 0);
}

AddressForm addressFormOf(const NetlinkAddress& address) {
    AddressForm form;
    form.address = socketAddressOf(address, address.local);
    form.netmask = socketAddressOf(address, prefixMask(address.prefixLength));
    if (address.peer) {
        form.destination = socketAddressOf(address, *address.peer);
    } else if (address.broadcast) {
        form.destination = socketAddressOf(address, *address.broadcast);
    }
    return form;
}

int32_t saturatedInt32(uint64_t value) {
    return static_cast<int32_t>(std::min<uint64_t>(value, std::numeric_limits<int32_t>::max()));
}

// Linux keeps no transmitted-multicast count, no link speed and no time of the last
// change: ifi_omcasts, ifi_baudrate and ifi_lastchange stay 0.
IfData64 interfaceDataOf(const NetlinkLink& link, const LinkForm& form) {
    IfData64 data;
    data.type = form.type;
    data.addrlen = static_cast<uint8_t>(form.linkAddress.size());
    data.mtu = link.mtu;
    data.ipackets = link.counters.rxPackets;
    data.ierrors = link.counters.rxErrors;
    data.opackets = link.counters.txPackets;
    data.oerrors = link.counters.txErrors;
    data.collisions = link.counters.collisions;
    data.ibytes = link.counters.rxBytes;
    data.obytes = link.counters.txBytes;
    data.imcasts = link.counters.multicast;
    data.iqdrops = link.counters.rxDropped;
    data.noproto = link.counters.rxNohandler;
    return data;
}

// A socket address after a message header; the claimed message is zeroed, so its
// padding up to the address's span is too.
unsigned char* writeSocketAddress(unsigned char* at, const std::vector<unsigned char>& bytes) {
    if (bytes.empty()) {
        return at;
    }
    std::copy(bytes.begin(), bytes.end(), at);
    return at + socketAddressSpan(bytes[0]);
}

size_t spanOf(const std::vector<unsigned char>& socketAddress) {
    return socketAddress.empty() ? 0 : socketAddressSpan(socketAddress[0]);
}

void appendLinkMessage(MessageSink& sink, const NetlinkLink& link, const LinkForm& form) {
    IfMsghdr2 header;
    header.msglen = static_cast<uint16_t>(if_msghdr2::Layout::kSize + spanOf(form.socketAddress));
    header.flags = static_cast<int32_t>(form.flags & 0xffff);
    header.index = static_cast<uint16_t>(link.index);
    header.sndMaxlen = saturatedInt32(link.txQueueLength);
    header.sndDrops = saturatedInt32(link.counters.txDropped);
    header.data = interfaceDataOf(link, form);
    unsigned char* at = sink.claim(header.msglen);
    if (at != nullptr) {
        if_msghdr2::Layout::encode(header, at);
        writeSocketAddress(at + if_msghdr2::Layout::kSize, form.socketAddress);
    }
}

// The device marks an address whose prefix route is installed; Linux installs one
// unless told not to (IFA_F_NOPREFIXROUTE).
void appendAddressMessage(MessageSink& sink, const NetlinkAddress& address) {
    const AddressForm form = addressFormOf(address);
    IfaMsghdr header;
    header.addrs = RTA_NETMASK | RTA_IFA | (form.destination.empty() ? 0 : RTA_BRD);
    header.flags = (address.flags & IFA_F_NOPREFIXROUTE) != 0 ? 0 : IFA_ROUTE_DARWIN;
    header.index = static_cast<uint16_t>(address.index);
    header.msglen = static_cast<uint16_t>(ifa_msghdr::Layout::kSize + spanOf(form.netmask) +
                                          spanOf(form.address) + spanOf(form.destination));
    unsigned char* at = sink.claim(header.msglen);
    if (at != nullptr) {
        ifa_msghdr::Layout::encode(header, at);
        at = writeSocketAddress(at + ifa_msghdr::Layout::kSize, form.netmask);
        at = writeSocketAddress(at, form.address);
        writeSocketAddress(at, form.destination);
    }
}

} // namespace

void InterfaceList::messages(MessageSink& sink) const {
    for (const NetlinkLink& link : interfaces_.links()) {
        appendLinkMessage(sink, link, linkFormOf(link));
        for (const NetlinkAddress& address : interfaces_.addresses()) {
            if (address.index == link.index) {
                appendAddressMessage(sink, address);
            }
        }
    }
}

std::vector<InterfaceAddress> InterfaceList::entries() const {
    std::vector<InterfaceAddress> entries;
    for (const NetlinkLink& link : interfaces_.links()) {
        const LinkForm form = linkFormOf(link);
        entries.push_back({link.name, form.flags, form.socketAddress, {}, {}});
        for (const NetlinkAddress& address : interfaces_.addresses()) {
            if (address.index == link.index) {
                AddressForm shown = addressFormOf(address);
                entries.push_back({link.name, form.flags, std::move(shown.address),
                                   std::move(shown.netmask), std::move(shown.destination)});
            }
        }
    }
    return entries;
}

} // namespace darwin
