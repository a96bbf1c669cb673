#include "system/InterfaceCapture.h"

#include "support/MessageLog.h"
#include "support/NetworkBuffers.h"
#include "support/QtPrinters.h"
#include "support/SystemFixture.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace networkbuffers;
using darwin::IFF_UP_DARWIN;
using darwin::InterfaceAddress;

TEST(InterfaceCapture, Ipv6TextCompressesEveryRunOfZeroGroups) {
    const struct {
        Ipv6 address;
        uint8_t prefix;
        const char* text;
    } cases[] = {
        {{0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1},
         64,
         "2001:0db8:0:0001::0001/64"},
        {TypicalHost::kIpv6Loopback, 128, "::0001/128"},
        {{}, 0, "::/0"},
        {{0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 10, "fe80::/10"},
        {{0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3}, 128, "0001::0002::0003/128"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InterfaceCapture::ipv6Text(c.address, c.prefix), c.text);
    }
}

// The first IPv4 address and the last IPv6 address of the interface, by either name;
// entries of interfaces that are down, of other interfaces or without an address count
// for nothing.
TEST(InterfaceCapture, FirstIpv4AndLastIpv6OfTheInterfacesThatAreUp) {
    SystemFixture kernel;
    const Ipv6 first{0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    const Ipv6 last{0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    kernel.backend->setInterfaceAddresses({
        {"en0", 0, sockaddrIn({10, 0, 0, 9}), {}, {}},
        {"en0", IFF_UP_DARWIN, {}, {}, {}},
        {"en0", IFF_UP_DARWIN, sockaddrDl(2, darwin::IFT_ETHER, "", {1, 2, 3, 4, 5, 6}), {}, {}},
        {"eth1", IFF_UP_DARWIN, sockaddrIn({10, 0, 0, 8}), {}, {}},
        {"wlan0", IFF_UP_DARWIN, sockaddrIn({10, 0, 0, 1}), {}, {}},
        {"en0", IFF_UP_DARWIN, sockaddrIn({10, 0, 0, 2}), sockaddrIn({255, 0, 0, 0}), {}},
        {"en0", IFF_UP_DARWIN, sockaddrIn6(first), sockaddrIn6({0xff, 0xff}), {}},
        {"wlan0", IFF_UP_DARWIN, sockaddrIn6(last), {}, {}},
    });
    const InterfaceCapture capture = InterfaceCapture::read({"en0", "wlan0"});
    EXPECT_EQ(capture.ipaddr(), "10.0.0.1");
    EXPECT_EQ(capture.netmask(), std::nullopt) << "the first address had none";
    EXPECT_EQ(capture.masklen(), 0);
    EXPECT_EQ(capture.broadcast(), std::nullopt);
    EXPECT_EQ(capture.ip6addr(), "2001:0db8::0002/16") << "the prefix of the last one with a mask";
    EXPECT_EQ(capture.macaddr(), std::nullopt) << "a link address without a name";
    EXPECT_EQ(capture.ether(), (std::array<uint8_t, 6>{}));
}

TEST(InterfaceCapture, AFailedListCapturesNothing) {
    SystemFixture kernel;
    kernel.backend->failInterfaceAddresses(EMFILE);
    testenv::MessageLog log("ormel.system");
    const InterfaceCapture capture = InterfaceCapture::read({"en0"});
    EXPECT_EQ(capture.ipaddr(), std::nullopt);
    EXPECT_EQ(log.warnings().size(), 1);
}
