// The Linux backend's routing table, interface list and interface addresses over rtnetlink
// dumps recorded from a namespace (tests/fixtures/netlink/namespace, made by
// tools/netlink/record-dumps): lo (1), the veth pair v1 (2) and v0 (3), a bridge br0 (4)
// and a tun device t0 (5); 4.4 GB sent from v0 to v1 before the recording.
#include "BackendReads.h"
#include "NetworkReads.h"
#include "RecordBytes.h"
#include "RecordedNetlink.h"

#include "platform/darwin/linux/InterfaceMapping.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "support/NetworkBuffers.h"

#include <gtest/gtest.h>

#include <linux/rtnetlink.h>
#include <net/if_arp.h>

#include <cerrno>
#include <cstring>

using namespace darwin;
using namespace backendreads;
using namespace networkreads;
using namespace recordbytes;
using networkbuffers::kInterfaceListName;
using networkbuffers::kRoutingDumpName;

namespace {

using Answer = RecordedNetlink::Answer;
using Key = RecordedNetlink::Key;
const Key kLinks{RTM_GETLINK, AF_UNSPEC};
const Key kAddresses{RTM_GETADDR, AF_UNSPEC};
const Key kRoutes{RTM_GETROUTE, AF_INET};
const Key kRoutes6{RTM_GETROUTE, AF_INET6};
const Key kNeighbours{RTM_GETNEIGH, AF_INET};

// A backend whose dumps come from the recording.
struct RecordedNamespace {
    RecordedNetlink netlink{"netlink/namespace",
                            {{kLinks, "link.nl"},
                             {kAddresses, "addr.nl"},
                             {kRoutes, "route-inet.nl"},
                             {kRoutes6, "route-inet6.nl"},
                             {kNeighbours, "neigh-inet.nl"}}};
    LinuxBackend backend;

    RecordedNamespace() { backend.setNetlink(netlink.connector()); }

    Bytes answer(const std::vector<int>& mib) {
        const std::optional<Bytes> answer = sysctlValue(backend, mib);
        EXPECT_TRUE(answer) << std::strerror(errno);
        return answer.value_or(Bytes{});
    }
};

std::string bytesOf(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::vector<Expected> joined(std::initializer_list<std::vector<Expected>> parts) {
    std::vector<Expected> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A sockaddr_in at offset: sin_len 16, AF_INET, the address at offset + 4.
std::vector<Expected> inAt(size_t offset, std::initializer_list<unsigned char> address) {
    return {at<uint8_t>(offset, 16), at<uint8_t>(offset + 1, 2),
            chars(offset + 4, bytesOf(address))};
}

// A sockaddr_dl with no name at offset: index and type, then the link-level address.
std::vector<Expected> linkAt(size_t offset, uint16_t index, uint8_t type, std::string address) {
    return {at<uint8_t>(offset, 20),
            at<uint8_t>(offset + 1, 18),
            at<uint16_t>(offset + 2, index),
            at<uint8_t>(offset + 4, type),
            at<uint8_t>(offset + 6, static_cast<uint8_t>(address.size())),
            chars(offset + 8, address)};
}

// The rt_msghdr of an RTM_GET (rtm_use and rt_metrics 0).
std::vector<Expected> routeHeader(uint16_t length, uint16_t index, int32_t flags, int32_t addrs) {
    return {at<uint16_t>(0, length), at<uint8_t>(2, 5),     at<uint8_t>(3, RTM_GET),
            at<uint16_t>(4, index),  at<int32_t>(8, flags), at<int32_t>(12, addrs)};
}

} // namespace

// A reader of RTM_IFINFO2 messages skips the address messages after each by their length
// and lands exactly on the next link.
TEST(LinuxNetworkRecorded, InterfaceListInterleavesEachLinksAddresses) {
    RecordedNamespace recorded;
    EXPECT_EQ(interfaceLines(recorded.answer(kInterfaceListName)),
              (std::vector<std::string>{
                  "lo link#1 type 24 flags 0x49 mtu 65536",
                  "  #1 127.0.0.1 mask 255.0.0.0",
                  "  #1 ::1 mask ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
                  "v1 link#2 02:00:00:00:00:02 type 6 flags 0x8843 mtu 65000",
                  "  #2 fe80::ff:fe00:2%2 mask ffff:ffff:ffff:ffff::",
                  "v0 link#3 02:00:00:00:00:01 type 6 flags 0x8843 mtu 65000",
                  "  #3 10.11.0.1 mask 255.255.255.0 brd 10.11.0.255",
                  "  #3 2001:db8::1 mask ffff:ffff:ffff:ffff::",
                  "  #3 fe80::ff:fe00:1%3 mask ffff:ffff:ffff:ffff::",
                  "br0 link#4 02:00:00:00:00:0b type 6 flags 0x8802 mtu 1500",
                  "t0 link#5 type 1 flags 0x8090 mtu 1500",
              }));
}

// if_msghdr2 at the offsets of darwin-abi.md 5.2, if_data64 from 32, then the sockaddr_dl
// (5.4) at 160; v1 received 4 400 045 180 bytes: above 2^32, kept whole. v0's ifa_msghdr
// (20 bytes), then netmask, own address and broadcast address, 16 bytes each.
TEST(LinuxNetworkRecorded, LinkAndAddressMessageBytes) {
    RecordedNamespace recorded;
    const std::vector<Bytes> messages = split(recorded.answer(kInterfaceListName));
    ASSERT_GE(messages.size(), 7u);
    expectRecord(messages[3], {
                                  at<uint16_t>(0, 180),    // ifm_msglen
                                  at<uint8_t>(2, 5),       // ifm_version
                                  at<uint8_t>(3, 0x12),    // RTM_IFINFO2
                                  at<int32_t>(4, 0x10),    // RTA_IFP
                                  at<int32_t>(8, 0x8843),  // UP BROADCAST RUNNING SIMPLEX MULTICAST
                                  at<uint16_t>(12, 2),     // ifm_index
                                  at<int32_t>(20, 1000),   // ifm_snd_maxlen: the queue length
                                  at<uint8_t>(32, 6),      // ifi_type IFT_ETHER
                                  at<uint8_t>(35, 6),      // ifi_addrlen
                                  at<uint32_t>(40, 65000), // ifi_mtu
                                  at<uint64_t>(56, 67695), // ifi_ipackets
                                  at<uint64_t>(72, 2),     // ifi_opackets
                                  at<uint64_t>(96, 4400045180), // ifi_ibytes
                                  at<uint64_t>(104, 176),       // ifi_obytes
                                  at<uint64_t>(128, 67693),     // ifi_iqdrops
                                  at<uint8_t>(160, 20),         // sdl_len
                                  at<uint8_t>(161, 18),         // sdl_family AF_LINK
                                  at<uint16_t>(162, 2),         // sdl_index
                                  at<uint8_t>(164, 6),          // sdl_type
                                  at<uint8_t>(165, 2),          // sdl_nlen
                                  at<uint8_t>(166, 6),          // sdl_alen
                                  chars(168, "v1"),
                                  chars(170, bytesOf({2, 0, 0, 0, 0, 2})),
                              });
    // ifam_msglen, version, RTM_NEWADDR, RTA_NETMASK | RTA_IFA | RTA_BRD, IFA_ROUTE, index.
    expectRecord(messages[6],
                 joined({{at<uint16_t>(0, 68), at<uint8_t>(2, 5), at<uint8_t>(3, 0xc),
                          at<int32_t>(4, 0xa4), at<int32_t>(8, 1), at<uint16_t>(12, 3)},
                         inAt(20, {255, 255, 255, 0}),
                         inAt(36, {10, 11, 0, 1}),
                         inAt(52, {10, 11, 0, 255})}));
}

// Every route of the main and local tables, every neighbour `ip -4 neigh` lists (the
// NOARP entry is not), a multipath route once per next hop; IPv4 with its neighbours
// first, then IPv6.
TEST(LinuxNetworkRecorded, RouteDumpListsRoutesThenNeighboursThenIpv6) {
    RecordedNamespace recorded;
    EXPECT_EQ(routeLines(recorded.answer(kRoutingDumpName)),
              (std::vector<std::string>{
                  "0.0.0.0 mask 0.0.0.0 via 10.11.0.254 UGS #3",
                  "10.11.0.0 mask 255.255.255.0 via link#3 UC #3",
                  "10.12.0.7 via 10.11.0.253 UGHS #3",
                  "10.12.0.8 via link#3 UHS #3",
                  "10.13.0.0 mask 255.255.0.0 via link#1 USB #1",
                  "10.14.0.0 mask 255.255.0.0 via link#1 URS #1",
                  "10.15.0.0 mask 255.255.0.0 via 10.11.0.251 UGS #3",
                  "10.15.0.0 mask 255.255.0.0 via 10.11.0.252 UGS #3",
                  "10.11.0.1 via link#3 UHl #3",
                  "10.11.0.255 via link#3 UHb #3",
                  "127.0.0.0 mask 255.0.0.0 via link#1 Ul #1",
                  "127.0.0.1 via link#1 UHl #1",
                  "127.255.255.255 via link#1 UHb #1",
                  "10.11.0.248 via link#3 UHRL #3",
                  "10.11.0.253 via link#3 02:00:00:00:00:fd UHLS #3",
                  "10.11.0.254 via link#3 02:00:00:00:00:fe UHL #3",
                  "10.11.0.250 via link#3 02:00:00:00:00:fa UHL #3",
                  "2001:db8:: mask ffff:ffff:ffff:ffff:: via link#3 UC #3",
                  "fe80::%2 mask ffff:ffff:ffff:ffff:: via link#2 UC #2",
                  "fe80::%3 mask ffff:ffff:ffff:ffff:: via link#3 UC #3",
                  ":: mask :: via 2001:db8::fe UGS #3",
                  "::1 via link#1 UHl #1",
                  "2001:db8::1 via link#3 UHl #3",
                  "ff00:: mask ff00:: via link#2 Um #2",
                  "ff00:: mask ff00:: via link#3 Um #3",
              }));
}

// rt_msghdr at the offsets of darwin-abi.md 5.1, then the destination at 92, the gateway,
// and the netmask of a network route.
TEST(LinuxNetworkRecorded, RouteMessageBytesOfEachKind) {
    RecordedNamespace recorded;
    const std::vector<Bytes> messages = split(recorded.answer(kRoutingDumpName));
    const std::pair<const char*, std::vector<Expected>> routes[] = {
        {"0.0.0.0 ",
         joined({routeHeader(140, 3, RTF_UP | RTF_GATEWAY | RTF_STATIC, 7), inAt(92, {0, 0, 0, 0}),
                 inAt(108, {10, 11, 0, 254}), inAt(124, {0, 0, 0, 0})})},
        {"10.12.0.7 ", joined({routeHeader(124, 3, RTF_UP | RTF_GATEWAY | RTF_HOST | RTF_STATIC, 3),
                               inAt(92, {10, 12, 0, 7}), inAt(108, {10, 11, 0, 253})})},
        {"10.11.0.0 ",
         joined({routeHeader(144, 3, RTF_UP | RTF_CLONING, 7), inAt(92, {10, 11, 0, 0}),
                 linkAt(108, 3, IFT_ETHER, ""), inAt(128, {255, 255, 255, 0})})},
        {"10.13.0.0 ", joined({routeHeader(144, 1, RTF_UP | RTF_STATIC | RTF_BLACKHOLE, 7),
                               inAt(92, {10, 13, 0, 0}), linkAt(108, 1, IFT_LOOP, ""),
                               inAt(128, {255, 255, 0, 0})})},
        {"10.11.0.253 ",
         joined({routeHeader(128, 3, RTF_UP | RTF_HOST | RTF_LLINFO | RTF_STATIC, 3),
                 inAt(92, {10, 11, 0, 253}),
                 linkAt(108, 3, IFT_ETHER, bytesOf({2, 0, 0, 0, 0, 0xfd}))})},
    };
    for (const auto& [destination, fields] : routes) {
        SCOPED_TRACE(destination);
        const auto route = std::ranges::find_if(
            messages, [&](const Bytes& m) { return routeLine(m).starts_with(destination); });
        ASSERT_NE(route, messages.end());
        expectRecord(*route, fields);
    }
}

// Each dump request as rtnetlink reads it: nlmsghdr (length, type, NLM_F_REQUEST |
// NLM_F_DUMP; the socket numbers it), then the type's family header, zero but its first
// byte, the family.
TEST(LinuxNetworkRecorded, DumpRequestBytes) {
    RecordedNamespace recorded;
    recorded.answer(kRoutingDumpName);
    recorded.answer(kInterfaceListName);
    const std::pair<Key, uint32_t> requests[] = {
        {kLinks, 32}, {kAddresses, 24}, {kRoutes, 28}, {kRoutes6, 28}, {kNeighbours, 28}};
    for (const auto& [key, length] : requests) {
        SCOPED_TRACE(key.type);
        const std::vector<Bytes> sent = recorded.netlink.requestsOf(key);
        ASSERT_FALSE(sent.empty());
        expectRecord(sent.back(),
                     {at(0, length), at(4, key.type), at<uint16_t>(6, NLM_F_REQUEST | NLM_F_DUMP),
                      at(16, key.family)});
        EXPECT_EQ(sent.back().size(), length);
    }
}

// The kernel flags the messages of a dump during which the table changed; the whole
// reading starts again, and only the second reading's messages are answered.
TEST(LinuxNetworkRecorded, InterruptedDumpsAreReadAgain) {
    RecordedNamespace recorded;
    const int* mib = kRoutingDumpName.data();
    const Bytes clean = recorded.answer(kRoutingDumpName);
    Bytes interrupted = recorded.netlink.dumps.at(kRoutes);
    interrupted[interrupted.size() - NLMSG_LENGTH(sizeof(int)) + 6] |= NLM_F_DUMP_INTR; // DONE
    recorded.netlink.answerNext(kRoutes, {{{interrupted}}});

    size_t length = clean.size() * 2;
    Bytes answer(length);
    ASSERT_EQ(recorded.backend.sysctl(mib, 6, answer.data(), &length, nullptr, 0), 0);
    answer.resize(length);
    EXPECT_EQ(answer, clean);
    // The probe and the read of the clean answer, then the interrupted reading and its retry.
    EXPECT_EQ(recorded.netlink.requestsOf(kLinks).size(), 2u + 2);

    recorded.netlink.answerNext(kRoutes, std::vector<Answer>(4, {{interrupted}}));
    errno = 0;
    EXPECT_EQ(recorded.backend.sysctl(mib, 6, answer.data(), &length, nullptr, 0), -1);
    EXPECT_EQ(errno, EAGAIN);
}

// A dump that cannot be read whole fails the call and leaves the length as it was: nothing
// in the buffer counts as an answer. The first route message's first attribute is at 28
// (nlmsghdr, rtmsg), the first link message's at 32.
TEST(LinuxNetworkRecorded, MalformedDumpsFailWithoutAnAnswer) {
    const auto u16At = [](size_t at, uint16_t value) {
        return [=](Bytes bytes) {
            RecordedNetlink::put(bytes, at, value);
            return Answer{{bytes}};
        };
    };
    // The first message alone in a datagram, its nlmsg_len one too many; the rest in the next.
    const auto onePast = [](Bytes bytes) {
        const uint16_t length = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
        Bytes first(bytes.begin(), bytes.begin() + length);
        RecordedNetlink::put<uint16_t>(first, 0, length + 1);
        return Answer{{first, Bytes(bytes.begin() + length, bytes.end())}};
    };
    // The messages before NLMSG_DONE and 8 stray bytes in one datagram, the DONE in the next.
    const auto strayBytes = [](Bytes bytes) {
        const auto done = bytes.end() - NLMSG_LENGTH(sizeof(int));
        Bytes first(bytes.begin(), done);
        first.resize(first.size() + 8);
        return Answer{{first, Bytes(done, bytes.end())}};
    };
    const auto dropped = [](const Bytes&) { return Answer{{}, ENOBUFS}; };
    const struct {
        const char* fault;
        std::vector<int> mib;
        Key dump;
        std::function<Answer(Bytes)> spoil;
        int error;
    } cases[] = {
        {"nlmsg_len one past its datagram", kRoutingDumpName, kRoutes, onePast, EIO},
        {"nlmsg_len below the header", kRoutingDumpName, kNeighbours, u16At(0, 8), EIO},
        {"bytes after a datagram's last message", kRoutingDumpName, kRoutes6, strayBytes, EIO},
        {"rta_len 0", kRoutingDumpName, kRoutes, u16At(28, 0), EIO},
        {"rta_len past its message", kInterfaceListName, kLinks, u16At(32, 0x7ff0), EIO},
        {"kernel dropped messages", kInterfaceListName, kAddresses, dropped, ENOBUFS},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.fault);
        RecordedNamespace recorded;
        recorded.netlink.answerNext(test.dump, {test.spoil(recorded.netlink.dumps.at(test.dump))});
        Bytes buffer(64 * 1024, 0xaa);
        size_t length = buffer.size();
        errno = 0;
        EXPECT_EQ(recorded.backend.sysctl(test.mib.data(), 6, buffer.data(), &length, nullptr, 0),
                  -1);
        EXPECT_EQ(errno, test.error);
        EXPECT_EQ(length, buffer.size());
    }
}

// The probe leaves room for what may be added before the read; a buffer one byte short of
// the answer gets the whole messages that fit and ENOMEM; a new value is refused.
TEST(LinuxNetworkRecorded, SizeProbeAndShortBuffer) {
    RecordedNamespace recorded;
    const Bytes answer = recorded.answer(kRoutingDumpName);
    const int* mib = kRoutingDumpName.data();
    size_t probed = 0;
    ASSERT_EQ(recorded.backend.sysctl(mib, 6, nullptr, &probed, nullptr, 0), 0);
    EXPECT_EQ(probed, answer.size() + answer.size() / 8 + 1024);

    Bytes buffer(answer.size() - 1);
    size_t length = buffer.size();
    errno = 0;
    EXPECT_EQ(recorded.backend.sysctl(mib, 6, buffer.data(), &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    ASSERT_EQ(length, answer.size() - split(answer).back().size());
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(length),
                           answer.begin()));
    const int value = 1;
    EXPECT_EQ(recorded.backend.sysctl(mib, 6, nullptr, &length, &value, sizeof value), -1);
    EXPECT_EQ(errno, EPERM);
}

// The kind decides over the hardware type where it names one (a VLAN), not otherwise (a
// bridge); tunnels are the device's stf and gif; what the device has no type for is
// IFT_OTHER.
TEST(LinuxNetworkMapping, InterfaceTypesByHardwareTypeAndKind) {
    const struct {
        uint16_t hardwareType;
        const char* kind;
        uint8_t type;
    } cases[] = {
        {ARPHRD_ETHER, "bridge", IFT_ETHER},
        {ARPHRD_ETHER, "vlan", IFT_L2VLAN},
        {ARPHRD_LOOPBACK, "", IFT_LOOP},
        {ARPHRD_SIT, "sit", IFT_STF},
        {823, "ip6gre", IFT_GIF},
        {ARPHRD_IEEE1394, "", IFT_IEEE1394},
        {ARPHRD_NONE, "tun", IFT_OTHER},
    };
    for (const auto& link : cases) {
        EXPECT_EQ(interfaceTypeOf(link.hardwareType, link.kind), link.type)
            << link.hardwareType << " " << link.kind;
    }
}
