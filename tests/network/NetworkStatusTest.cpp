#include "network/NetworkStatus.h"

#include "support/MessageLog.h"
#include "support/NetworkBuffers.h"
#include "support/QtPrinters.h"
#include "support/SystemFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <limits>
#include <thread>

using namespace networkbuffers;
using darwin::RTF_GATEWAY;
using darwin::RTF_HOST;
using darwin::RTF_STATIC;
using darwin::RTF_UP;

namespace {

template <class T> std::vector<T> values(const QList<std::shared_ptr<const T>>& list) {
    std::vector<T> records;
    for (const auto& record : list) {
        records.push_back(*record);
    }
    return records;
}

QStringList destinations(const QList<NetworkStatus::Route>& routes) {
    QStringList texts;
    for (const NetworkStatus::Route& route : routes) {
        texts.append(route->destination);
    }
    return texts;
}

QStringList interfaceNames() {
    NetworkStatus* status = NetworkStatus::sharedInstance();
    status->snapshotOfInterface2();
    QStringList names;
    for (const NetworkStatus::Interface& interface : status->interface()) {
        names.append(interface->name);
    }
    return names;
}

QStringList routeDestinations() {
    NetworkStatus::sharedInstance()->snapshotOfRouting();
    return destinations(NetworkStatus::sharedInstance()->routing());
}

QStringList localPorts(int32_t protocol) {
    NetworkStatus* status = NetworkStatus::sharedInstance();
    status->snapshotOfProtocol(protocol);
    QStringList ports;
    for (const NetworkStatus::Socket& socket : status->protocol()) {
        ports.append(QString::number(socket->localPort));
    }
    return ports;
}

InterfaceInfo interface(QString name, uint32_t mtu, uint8_t type, QString network, QString address,
                        InterfaceInfo::Counters counters) {
    return {name,
            mtu,
            type,
            network,
            address,
            static_cast<uint32_t>(counters.ipackets),
            static_cast<uint32_t>(counters.ierrors),
            static_cast<uint32_t>(counters.opackets),
            static_cast<uint32_t>(counters.oerrors),
            static_cast<uint32_t>(counters.collisions),
            static_cast<uint32_t>(counters.iqdrops),
            counters};
}

// A route to 10.0.0.<last> through 192.168.1.1.
Bytes gatewayRoute(uint8_t last) {
    return route(RTF_UP | RTF_GATEWAY, sockaddrIn({10, 0, 0, last}), sockaddrIn({192, 168, 1, 1}));
}

class NetworkStatusTest : public ::testing::Test {
protected:
    void SetUp() override { TypicalHost::install(*kernel.backend); }
    void TearDown() override { status->removeAllData(); }

    SystemFixture kernel;
    NetworkStatus* status = NetworkStatus::sharedInstance();
};

} // namespace

TEST_F(NetworkStatusTest, TypicalHostInKernelOrder) {
    status->snapshotOfInterface2();
    EXPECT_EQ(
        values(status->interface()),
        (std::vector<InterfaceInfo>{
            interface("lo0", 16384, darwin::IFT_LOOP, "<Link#1>", "", {1200, 0, 1200, 0, 0, 0}),
            interface("en0", 1500, darwin::IFT_ETHER, "<Link#2>", "00:11:22:33:44:55",
                      {52000, 3, 31000, 1, 7, 11})}))
        << "the address messages after each interface are skipped";
    EXPECT_FALSE(status->interface()[0]->address.isNull());

    status->snapshotOfRouting();
    EXPECT_EQ(values(status->routing()),
              (std::vector<RoutingInfo>{
                  {"default", "192.168.1.1", RTF_UP | RTF_GATEWAY | RTF_STATIC, 12},
                  {"127.0.0.1", "127.0.0.1", RTF_UP | RTF_HOST, 5},
                  {"192.168.1.1", "00:aa:bb:cc:dd:ee",
                   RTF_UP | RTF_HOST | darwin::RTF_LLINFO | darwin::RTF_WASCLONED, 30}}))
        << "neither the attached network nor the IPv6 route";

    status->snapshotOfTCP();
    EXPECT_EQ(values(status->protocol()),
              (std::vector<ProtocolInfo>{
                  {6, "*", 22, "*", 0, 1, "LISTEN"},
                  {6, "192.168.1.20", 50000, "93.184.216.34", 443, 4, "ESTABLISHED"}}))
        << "not the IPv6-only listener";
    status->snapshotOfUDP();
    const std::vector<ProtocolInfo> udp = values(status->protocol());
    EXPECT_EQ(udp, (std::vector<ProtocolInfo>{{17, "*", 53, "*", 0, 0, {}},
                                              {17, "192.168.1.20", 5353, "*", 0, 0, {}}}))
        << "a UDP snapshot after a TCP one holds UDP sockets only";
    EXPECT_TRUE(udp[0].tcpStateText.isNull());
}

TEST_F(NetworkStatusTest, InterfaceNamesAddressesAndCounters) {
    darwin::IfData64 busy = interfaceData(darwin::IFT_ETHER, 1500);
    busy.ipackets = (uint64_t{1} << 32) + 5;
    busy.iqdrops = (uint64_t{7} << 40) + 9;
    Bytes beyond = interface("en5", 6, busy, {1, 2, 3, 4, 5, 6});
    beyond.resize(beyond.size() - 8); // the link address past the message's end
    beyond[0] = static_cast<unsigned char>(beyond.size());
    std::vector<uint8_t> dl{4, 0, darwin::IFT_ETHER, 40, 0, 0};
    dl.insert(dl.end(), 40, 'x');
    const Bytes longName = sockaddrOf(48, darwin::AF_LINK, dl);
    darwin::IfMsghdr2 header;
    header.data = busy;
    Bytes truncated = interface("en6", 7, busy);
    truncated.resize(darwin::if_msghdr2::Layout::kSize + 4);
    truncated[0] = static_cast<unsigned char>(truncated.size());
    kernel.backend->setSysctl(kInterfaceListName,
                              join({interface("en2", 3, busy), interfaceMessage(header, longName),
                                    interface("caf\xe9", 5, busy), beyond, truncated}));

    EXPECT_EQ(interfaceNames(), QStringList({"en2", QString(31, 'x'), "caf\\xe9", "en5"}))
        << "31 bytes of a long name; bytes that are not UTF-8 shown; a message too short "
           "for its link address not read";
    const InterfaceInfo first = *status->interface()[0];
    EXPECT_EQ(first.ipackets, 5u) << "the low 32 bits";
    EXPECT_EQ(first.iqdrops, 9u);
    EXPECT_EQ(first.counters64.ipackets, (uint64_t{1} << 32) + 5);
    EXPECT_EQ(first.counters64.iqdrops, (uint64_t{7} << 40) + 9);
    EXPECT_EQ(status->interface()[3]->address, "") << "the address lies past the message";
}

TEST(NetworkStatusTables, InterfaceTypeTextsAndFlagLetters) {
    EXPECT_EQ(NetworkStatus::interfaceTypeText(darwin::IFT_L2VLAN), "Layer2 VLAN using 802.1Q");
    EXPECT_EQ(NetworkStatus::interfaceTypeText(0), "unknown");
    EXPECT_EQ(NetworkStatus::interfaceTypeText(darwin::IFT_CELLULAR), "unknown") << "not listed";
    EXPECT_EQ(NetworkStatus::routingFlagsToString(RTF_UP | RTF_GATEWAY | RTF_STATIC), "UGS");
    EXPECT_EQ(NetworkStatus::routingFlagsToString(0), "");
    EXPECT_EQ(NetworkStatus::routingFlagsToString(-1), "UGHRDMdeCXLSB21cW3plbm")
        << "2 before 1, and 3 after W";
}

TEST_F(NetworkStatusTest, GatewayFollowsTheDestinationPaddedToFourBytes) {
    const struct {
        uint8_t saLen;
        const char* destination;
    } cases[] = {{0, "default"}, {5, "10.0.0.0"}, {16, "10.0.0.1"}, {17, "10.0.0.1"}};
    for (const auto& c : cases) {
        const Bytes destination = sockaddrOf(c.saLen, darwin::AF_INET_DARWIN,
                                             {0, 0, 10, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        kernel.backend->setSysctl(kRoutingDumpName,
                                  route(RTF_HOST, destination, sockaddrIn({172, 16, 0, 1})));
        status->snapshotOfRouting();
        ASSERT_EQ(status->routing().size(), 1) << int{c.saLen};
        EXPECT_EQ(status->routing()[0]->destination, c.destination) << int{c.saLen};
        EXPECT_EQ(status->routing()[0]->gateway, "172.16.0.1") << int{c.saLen};
    }
}

TEST_F(NetworkStatusTest, OnlyHostAndGatewayRoutesOfOtherFamiliesThanIpv6) {
    const Bytes link = sockaddrDl(4, darwin::IFT_ETHER);
    kernel.backend->setSysctl(
        kRoutingDumpName,
        join({route(RTF_UP | RTF_GATEWAY | RTF_HOST, sockaddrIn6({}), sockaddrIn6({})),
              route(RTF_UP, sockaddrIn({10, 0, 0, 0}), link),
              route(RTF_HOST, sockaddrIn({10, 0, 0, 2}), link),
              route(RTF_GATEWAY, sockaddrOf(8, 99, {1, 2, 3, 4, 5, 6}), sockaddrOf(4, 0, {9, 9})),
              route(RTF_HOST, sockaddrIn({10, 0, 0, 3}), {})}));
    status->snapshotOfRouting();
    EXPECT_EQ(values(status->routing()),
              (std::vector<RoutingInfo>{{"10.0.0.2", "link#4", RTF_HOST, 0},
                                        {"(99) 0102 0304 0506", "", RTF_GATEWAY, 0},
                                        {"10.0.0.3", "", RTF_HOST, 0}}));
    EXPECT_FALSE(status->routing()[1]->gateway.isNull()) << "a family without text";

    Bytes destinationOnly = route(RTF_HOST, sockaddrIn({10, 0, 0, 4}), {});
    destinationOnly.resize(darwin::rt_msghdr::Layout::kSize + 16);
    destinationOnly[0] = static_cast<unsigned char>(destinationOnly.size());
    kernel.backend->setSysctl(kRoutingDumpName, destinationOnly);
    status->snapshotOfRouting();
    ASSERT_EQ(status->routing().size(), 1);
    EXPECT_EQ(status->routing()[0]->gateway, "") << "no gateway inside the message";
}

// A length of 0 or past the end would loop or read past the buffer; bytes past the
// length the kernel returned are stale.
TEST_F(NetworkStatusTest, MessageWalksEndWithTheMessagesTheKernelReturned) {
    const Bytes first = gatewayRoute(1);
    Bytes zero = gatewayRoute(2);
    zero[0] = zero[1] = 0;
    Bytes overlong = gatewayRoute(3);
    overlong[1] = 0x10;
    const struct {
        Bytes dump;
        std::optional<size_t> reported;
        const char* why;
    } cases[] = {
        {join({first, zero, gatewayRoute(4)}), {}, "a zero length"},
        {join({first, overlong}), {}, "a length past the end"},
        {join({first, gatewayRoute(5)}), first.size(), "a message past the returned length"},
        {join({first, gatewayRoute(6)}), first.size() + 1, "one byte of the next message"},
        {join({first, Bytes{4}}), {}, "a byte left over"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctl(kRoutingDumpName, c.dump);
        if (c.reported) {
            kernel.backend->reportLength(kRoutingDumpName, *c.reported);
        }
        EXPECT_EQ(routeDestinations(), QStringList({"10.0.0.1"})) << c.why;
    }

    const Bytes lo = interface("lo0", 1, interfaceData(darwin::IFT_LOOP, 16384));
    Bytes broken = interface("en0", 2, interfaceData(darwin::IFT_ETHER, 1500));
    broken[0] = broken[1] = 0;
    kernel.backend->setSysctl(kInterfaceListName, join({lo, broken}));
    EXPECT_EQ(interfaceNames(), QStringList({"lo0"})) << "a zero length in the interface list";
}

TEST_F(NetworkStatusTest, ControlBlocksListed) {
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    const auto tcp = [](uint64_t gencnt, uint8_t vflag = darwin::INP_IPV4, int32_t protocol = 6) {
        darwin::Xtcpcb socket = tcpSocket({10, 0, 0, 1}, 80, {}, 0, darwin::TCPS_LISTEN, gencnt);
        socket.inp.vflag = vflag;
        socket.socket.protocol = protocol;
        return record(socket);
    };
    const struct {
        uint64_t gen;
        Bytes record;
        bool listed;
        const char* why;
    } cases[] = {
        {7, tcp(7), true, "a count equal to the list's"},
        {7, tcp(8), false, "freed or reused while the list was copied"},
        {uint64_t{1} << 32, tcp(5), true, "compared in 64 bits"},
        {kMax, tcp(kMax), true, "at the top of 64 bits"},
        {kMax - 1, tcp(kMax), false, "one above, at the top of 64 bits"},
        {7, tcp(1, darwin::INP_IPV6), false, "IPv6 only"},
        {7, tcp(1, darwin::INP_IPV4 | darwin::INP_IPV6), true, "dual stack"},
        {7, tcp(1, darwin::INP_IPV4, 0), false, "no socket: protocol 0"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctlByName(darwin::kTcpPcblist, pcblist(c.gen, {c.record}));
        EXPECT_EQ(localPorts(6).size(), c.listed ? 1 : 0) << c.why;
    }

    Bytes shortRecord = tcp(1);
    shortRecord.resize(440);
    shortRecord[0] = static_cast<unsigned char>(440 & 0xff);
    shortRecord[1] = static_cast<unsigned char>(440 >> 8);
    kernel.backend->setSysctlByName(darwin::kTcpPcblist, pcblist(7, {shortRecord, tcp(1)}));
    EXPECT_EQ(localPorts(6), QStringList({"80"})) << "a record shorter than an xtcpcb is not read";
}

TEST_F(NetworkStatusTest, TcpStateTexts) {
    const struct {
        int32_t state;
        const char* text;
    } cases[] = {{0, "CLOSED"}, {3, "SYN_RCVD"}, {10, "TIME_WAIT"}, {11, "11"}, {-2, "-2"}};
    for (const auto& c : cases) {
        kernel.backend->setSysctlByName(darwin::kTcpPcblist,
                                        pcblist(1, {record(tcpSocket({}, 1, {}, 0, c.state))}));
        status->snapshotOfTCP();
        ASSERT_EQ(status->protocol().size(), 1);
        EXPECT_EQ(status->protocol()[0]->tcpStateText, c.text);
        EXPECT_EQ(status->protocol()[0]->tcpState, c.state);
    }
}

// The kernel leaves out the closing header of an empty list; whatever follows the
// bytes it returned is stale.
TEST_F(NetworkStatusTest, ControlBlockWalksEndAtTheClosingHeaderOrTheReturnedLength) {
    const Bytes a = record(udpSocket({}, 1000));
    const Bytes b = record(udpSocket({}, 2000));
    const Bytes header = listHeader(3, 2);
    const struct {
        Bytes list;
        std::optional<size_t> reported;
        QStringList ports;
        const char* why;
    } cases[] = {
        {pcblist(3, {}), {}, {}, "the leading header alone"},
        {join({header, header}), {}, {}, "both headers"},
        {join({header, a, header, b}), {}, {"1000"}, "the closing header ends the list"},
        {join({header, a}), {}, {"1000"}, "no closing header"},
        {join({header, a, b}), header.size() + a.size(), {"1000"}, "a stale record"},
        {join({header, b}), header.size(), {}, "an empty list and a stale record"},
        {join({header, a, Bytes{0x40, 1, 0, 0}}), {}, {"1000"}, "a length past the end"},
        {Bytes(header.begin(), header.begin() + 20), {}, {}, "a header cut short"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctlByName(darwin::kUdpPcblist, c.list);
        if (c.reported) {
            kernel.backend->reportLengthByName(darwin::kUdpPcblist, *c.reported);
        }
        EXPECT_EQ(localPorts(17), c.ports) << c.why;
    }
    kernel.backend->setSysctlByName(darwin::kRawPcblist, pcblist(1, {record(udpSocket({}, 0)), a}));
    EXPECT_EQ(localPorts(255).size(), 0) << "the raw list, its sockets of protocol 255 only";
}

TEST_F(NetworkStatusTest, AFailedReadEmptiesTheListAndSaysWhy) {
    const struct {
        std::function<void()> fail;
        std::function<qsizetype()> snapshot;
        const char* why;
    } cases[] = {
        {[&] { kernel.backend->failSysctl(kInterfaceListName, EPERM); },
         [&] {
             status->snapshotOfInterface2();
             return status->interface().size();
         },
         "interfaces"},
        {[&] { kernel.backend->failSysctl(kRoutingDumpName, EPERM); },
         [&] {
             status->snapshotOfRouting();
             return status->routing().size();
         },
         "routes"},
        {[&] { kernel.backend->failSysctlByName(darwin::kTcpPcblist, EPERM); },
         [&] {
             status->snapshotOfTCP();
             return status->protocol().size();
         },
         "sockets"},
    };
    for (const auto& c : cases) {
        ASSERT_GT(c.snapshot(), 0) << c.why;
        c.fail();
        testenv::MessageLog log("ormel.network");
        EXPECT_EQ(c.snapshot(), 0) << c.why;
        ASSERT_EQ(log.warnings().size(), 1) << c.why;
        EXPECT_TRUE(log.warnings()[0].contains(std::strerror(EPERM)))
            << log.warnings()[0].toStdString();
    }
}

// The gathering thread takes its routing snapshots while the screens take theirs and
// empty the lists; neither sees the other's work.
TEST_F(NetworkStatusTest, GatheringThreadSnapshotsApartFromTheScreens) {
    constexpr int kRounds = 300;
    const QStringList expected{"default", "127.0.0.1", "192.168.1.1"};
    int mismatches = 0;
    std::thread gathering([&] {
        for (int i = 0; i < kRounds; ++i) {
            mismatches += destinations(NetworkStatus::privateRoutingSnapshot()) != expected;
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        status->snapshotOfRouting();
        status->snapshotOfInterface2();
        status->snapshotOfTCP();
        EXPECT_EQ(destinations(status->routing()), expected);
        status->removeAllData();
    }
    gathering.join();
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(status->routing().isEmpty()) << "the private snapshot left the shared list alone";
}
