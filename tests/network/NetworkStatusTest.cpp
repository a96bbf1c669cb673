#include "network/NetworkStatus.h"

#include "support/MessageLog.h"
#include "support/NetworkBuffers.h"
#include "support/QtPrinters.h"
#include "support/SystemFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <thread>

using namespace networkbuffers;
using darwin::RTF_GATEWAY;
using darwin::RTF_HOST;
using darwin::RTF_UP;

namespace {

template <class T> std::vector<T> values(const QList<std::shared_ptr<const T>>& list) {
    std::vector<T> records;
    for (const auto& record : list) {
        records.push_back(*record);
    }
    return records;
}

// One text of every record of a list, after a snapshot.
template <class T, class Field>
QStringList texts(const QList<std::shared_ptr<const T>>& list, Field field) {
    QStringList all;
    for (const auto& record : list) {
        all.append(QVariant((*record).*field).toString());
    }
    return all;
}

InterfaceInfo interface(QString name, uint8_t type, uint16_t index, QString address,
                        InterfaceInfo::Counters c, uint32_t mtu) {
    const auto low = [](uint64_t count) { return static_cast<uint32_t>(count); };
    return {name,           mtu,
            type,           QStringLiteral("<Link#%1>").arg(index),
            address,        low(c.ipackets),
            low(c.ierrors), low(c.opackets),
            low(c.oerrors), low(c.collisions),
            low(c.iqdrops), c};
}

// A route to 10.0.0.<last> through 192.168.1.1.
Bytes gatewayRoute(uint8_t last) {
    return route(RTF_UP | RTF_GATEWAY, sockaddrIn({10, 0, 0, last}), sockaddrIn({192, 168, 1, 1}));
}

// The message or record with another length in its first two bytes.
Bytes claiming(Bytes message, size_t length) {
    message[0] = static_cast<unsigned char>(length);
    message[1] = static_cast<unsigned char>(length >> 8);
    return message;
}

Bytes cut(Bytes message, size_t length) {
    message.resize(length);
    return claiming(message, length);
}

class NetworkStatusTest : public ::testing::Test {
protected:
    void SetUp() override { TypicalHost::install(*kernel.backend); }
    void TearDown() override { status->removeAllData(); }

    QStringList interfaceNames() {
        status->snapshotOfInterface2();
        return texts(status->interface(), &InterfaceInfo::name);
    }
    QStringList destinations() {
        status->snapshotOfRouting();
        return texts(status->routing(), &RoutingInfo::destination);
    }
    QStringList localPorts(int32_t protocol) {
        status->snapshotOfProtocol(protocol);
        return texts(status->protocol(), &ProtocolInfo::localPort);
    }

    SystemFixture kernel;
    NetworkStatus* status = NetworkStatus::sharedInstance();
};

} // namespace

TEST_F(NetworkStatusTest, TypicalHostInKernelOrder) {
    status->snapshotOfInterface2();
    EXPECT_EQ(values(status->interface()),
              (std::vector<InterfaceInfo>{
                  interface("lo0", darwin::IFT_LOOP, 1, "", {1200, 0, 1200, 0, 0, 0}, 16384),
                  interface("en0", darwin::IFT_ETHER, 2, "00:11:22:33:44:55",
                            {52000, 3, 31000, 1, 7, 11}, 1500)}))
        << "the address messages after each interface are skipped";
    EXPECT_FALSE(status->interface()[0]->address.isNull());

    status->snapshotOfRouting();
    EXPECT_EQ(values(status->routing()),
              (std::vector<RoutingInfo>{
                  {"default", "192.168.1.1", RTF_UP | RTF_GATEWAY | darwin::RTF_STATIC, 12},
                  {"127.0.0.1", "127.0.0.1", RTF_UP | RTF_HOST, 5},
                  {"192.168.1.1", "00:aa:bb:cc:dd:ee",
                   RTF_UP | RTF_HOST | darwin::RTF_LLINFO | darwin::RTF_WASCLONED, 30}}))
        << "neither the attached network nor the IPv6 route";
    EXPECT_EQ(NetworkStatus::routingFlagsToString(status->routing()[0]->flags), "UGS");

    status->snapshotOfTCP();
    EXPECT_EQ(
        values(status->protocol()),
        (std::vector<ProtocolInfo>{{6, "*", 22, "*", 0, 1, "LISTEN"},
                                   {6, "192.168.1.20", 50000, "133.5.6.7", 443, 4, "ESTABLISHED"}}))
        << "not the IPv6-only listener";
    status->snapshotOfUDP();
    EXPECT_EQ(values(status->protocol()),
              (std::vector<ProtocolInfo>{{17, "*", 53, "*", 0, 0, {}},
                                         {17, "*", 0, "*", 0, 0, {}},
                                         {17, "192.168.1.20", 40000, "192.168.1.1", 53, 0, {}}}))
        << "a UDP snapshot after a TCP one holds UDP sockets only";
    EXPECT_TRUE(status->protocol()[0]->tcpStateText.isNull());
}

TEST_F(NetworkStatusTest, InterfaceNamesAddressesAndCounters) {
    const darwin::IfData64 busy{
        .type = darwin::IFT_ETHER, .ipackets = (uint64_t{1} << 32) + 5, .lastchange = {}};
    std::vector<uint8_t> longName{4, 0, darwin::IFT_ETHER, 40, 0, 0};
    longName.insert(longName.end(), 40, 'x');
    const Bytes en5 = interface("en5", 6, busy, {1, 2, 3, 4, 5, 6});
    kernel.backend->setSysctl(
        kInterfaceListName,
        join({interface("en2", 3, busy),
              message<darwin::if_msghdr2::Layout>({.data = busy},
                                                  {sockaddrOf(48, darwin::AF_LINK, longName)}),
              interface("caf\xe9", 5, busy), cut(en5, en5.size() - 8),
              cut(interface("en6", 7, busy), darwin::if_msghdr2::Layout::kSize + 4)}));

    EXPECT_EQ(interfaceNames(), QStringList({"en2", QString(31, 'x'), "caf\\xe9", "en5"}))
        << "31 bytes of a long name; bytes that are not UTF-8 shown; a message too short "
           "for the link address's head is not read";
    EXPECT_EQ(status->interface()[0]->ipackets, 5u) << "the low 32 bits";
    EXPECT_EQ(status->interface()[0]->counters64.ipackets, (uint64_t{1} << 32) + 5);
    EXPECT_EQ(status->interface()[3]->address, "") << "the address lies past the message";
}

TEST_F(NetworkStatusTest, WhichRoutesAndWhereTheirGatewaysLie) {
    const std::vector<uint8_t> data{0, 0, 10, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes link = sockaddrDl(4, darwin::IFT_ETHER);
    const Bytes gateway = sockaddrIn({172, 16, 0, 1});
    const struct {
        Bytes message;
        std::vector<RoutingInfo> listed;
        const char* why;
    } cases[] = {
        {route(RTF_HOST, sockaddrOf(0, 2, data), gateway),
         {{"default", "172.16.0.1", 4, 0}},
         "sa_len 0 takes 4 bytes"},
        {route(RTF_HOST, sockaddrOf(5, 2, data), gateway),
         {{"10.0.0.0", "172.16.0.1", 4, 0}},
         "sa_len 5 takes 8"},
        {route(RTF_GATEWAY, sockaddrOf(8, 99, {1}), sockaddrOf(4, 0)),
         {{"(99) 0100 0000 0000", "", RTF_GATEWAY, 0}},
         "a gateway without text"},
        {cut(route(RTF_HOST, sockaddrIn({10, 0, 0, 4}), link), 92 + 16),
         {{"10.0.0.4", "", RTF_HOST, 0}},
         "no gateway inside the message"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctl(kRoutingDumpName, c.message);
        status->snapshotOfRouting();
        EXPECT_EQ(values(status->routing()), c.listed) << c.why;
        EXPECT_TRUE(status->routing().isEmpty() || !status->routing()[0]->gateway.isNull());
    }
}

// A length of 0 or past the end would loop or read past the buffer; bytes past the
// length the kernel returned are stale.
TEST_F(NetworkStatusTest, MessageWalksEndWithTheMessagesTheKernelReturned) {
    const Bytes first = gatewayRoute(1);
    const struct {
        Bytes dump;
        std::optional<size_t> reported;
        const char* why;
    } cases[] = {
        {join({first, claiming(gatewayRoute(2), 0), gatewayRoute(4)}), {}, "a zero length"},
        {join({first, claiming(gatewayRoute(3), 0x1000)}), {}, "a length past the end"},
        {join({first, gatewayRoute(5)}), first.size(), "a message past the returned length"},
        {join({first, gatewayRoute(6)}), first.size() + 1, "one byte of the next message"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctl(kRoutingDumpName, c.dump);
        if (c.reported) {
            kernel.backend->reportLength(kRoutingDumpName, *c.reported);
        }
        EXPECT_EQ(destinations(), QStringList({"10.0.0.1"})) << c.why;
    }
    const Bytes lo = interface("lo0", 1, {.type = darwin::IFT_LOOP, .lastchange = {}});
    kernel.backend->setSysctl(kInterfaceListName, join({lo, claiming(lo, 0), lo}));
    EXPECT_EQ(interfaceNames(), QStringList({"lo0"})) << "a zero length in the interface list";
}

TEST_F(NetworkStatusTest, ControlBlocksOfTheListsGenerationIpv4AndProtocol) {
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    const auto tcp = [](uint64_t gencnt, uint8_t vflag = darwin::INP_IPV4, int32_t protocol = 6) {
        darwin::Xtcpcb socket = tcpSocket({10, 0, 0, 1}, 80, {}, 0, darwin::TCP_NSTATES, gencnt);
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
        {kMax - 1, tcp(kMax), false, "one above, at the top of 64 bits"},
        {7, tcp(1, darwin::INP_IPV6), false, "IPv6 only"},
        {7, tcp(1, darwin::INP_IPV4 | darwin::INP_IPV6), true, "dual stack"},
        {7, tcp(1, darwin::INP_IPV4, 0), false, "no socket: protocol 0"},
        {7, cut(tcp(1), 440), false, "shorter than an xtcpcb"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctlByName(darwin::kTcpPcblist, pcblist(c.gen, {c.record, tcp(0)}));
        EXPECT_EQ(localPorts(6).size(), c.listed ? 2 : 1) << c.why;
    }
    EXPECT_EQ(status->protocol()[0]->tcpStateText, "11") << "a state without a name";
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
        {join({header, a, header, b}), {}, {"1000"}, "the closing header ends the list"},
        {join({header, a}), {}, {"1000"}, "no closing header"},
        {join({header, a, b}), header.size() + a.size(), {"1000"}, "a stale record"},
        {join({header, b}), header.size(), {}, "an empty list and a stale record"},
        {join({header, a, claiming(b, 0x400)}), {}, {"1000"}, "a length past the end"},
        {Bytes(header.begin(), header.begin() + 20), {}, {}, "a header cut short"},
    };
    for (const auto& c : cases) {
        kernel.backend->setSysctlByName(darwin::kUdpPcblist, c.list);
        if (c.reported) {
            kernel.backend->reportLengthByName(darwin::kUdpPcblist, *c.reported);
        }
        EXPECT_EQ(localPorts(17), c.ports) << c.why;
    }
}

TEST_F(NetworkStatusTest, AFailedReadEmptiesTheListAndSaysWhy) {
    const std::pair<std::function<void()>, std::function<qsizetype()>> cases[] = {
        {[&] { kernel.backend->failSysctl(kInterfaceListName, EPERM); },
         [&] { return interfaceNames().size(); }},
        {[&] { kernel.backend->failSysctl(kRoutingDumpName, EPERM); },
         [&] { return destinations().size(); }},
        {[&] { kernel.backend->failSysctlByName(darwin::kTcpPcblist, EPERM); },
         [&] { return localPorts(6).size(); }},
    };
    for (const auto& [fail, snapshot] : cases) {
        ASSERT_GT(snapshot(), 0);
        fail();
        testenv::MessageLog log("ormel.network");
        EXPECT_EQ(snapshot(), 0);
        EXPECT_EQ(log.warnings().size(), 1);
        EXPECT_TRUE(log.warnings().value(0).contains(std::strerror(EPERM)));
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
            const auto routes = NetworkStatus::privateRoutingSnapshot();
            mismatches += texts(routes, &RoutingInfo::destination) != expected;
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_EQ(destinations(), expected);
        status->snapshotOfInterface2();
        status->snapshotOfTCP();
        status->removeAllData();
    }
    gathering.join();
    EXPECT_EQ(mismatches, 0);
}
