#include "system/UIDevice_Network.h"

#include "support/NetworkBuffers.h"
#include "support/QtPrinters.h"
#include "support/SystemFixture.h"

#include <gtest/gtest.h>

using namespace networkbuffers;

TEST(UIDevice_Network, CapturedAtFirstUseAndAgainOnRefresh) {
    SystemFixture kernel;
    TypicalHost::install(*kernel.backend);
    UIDevice_Network::refresh();
    EXPECT_EQ(UIDevice_Network::ifname(), "en0");
    EXPECT_EQ(UIDevice_Network::ipaddr(), "192.168.1.20");
    kernel.backend->setInterfaceAddresses({});
    EXPECT_EQ(UIDevice_Network::ipaddr(), "192.168.1.20") << "not read again until a refresh";
    EXPECT_EQ(UIDevice_Network::macaddr(), "00:11:22:33:44:55");
    EXPECT_EQ(UIDevice_Network::ether(), TypicalHost::kEther);
    EXPECT_EQ(UIDevice_Network::netmask(), "255.255.255.0");
    EXPECT_EQ(UIDevice_Network::netaddr(), "192.168.1.0");
    EXPECT_EQ(UIDevice_Network::masklen(), 24);
    EXPECT_EQ(UIDevice_Network::broadcast(), "192.168.1.255");
    EXPECT_EQ(UIDevice_Network::ip6addr(), "fe80::0211:22ff:fe33:4455/64");
    UIDevice_Network::refresh();
    EXPECT_EQ(UIDevice_Network::ipaddr(), std::nullopt);
    EXPECT_EQ(UIDevice_Network::macaddr(), std::nullopt);
}

// The rows of the interfaces' detail screens (lo0's: its --dump golden); the request
// socket is closed on every path.
TEST(UIDevice_Network, AddressesOfANamedInterface) {
    SystemFixture kernel;
    TypicalHost::install(*kernel.backend);
    const struct {
        QString name;
        QStringList texts;
        const char* why;
    } cases[] = {
        {"en0",
         {"192.168.1.20/24", "192.168.1.255", "0.0.0.0", "255.255.255.0", "192.168.1.0"},
         "no destination address"},
        {"wlan9", {}, "no such interface"},
        {"en0" + QString(13, QChar(0)),
         {},
         "longer than 15 bytes, though the request would cut it to en0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UIDevice_Network::getAddressInfoOfInterfaceName(c.name), c.texts) << c.why;
    }
    EXPECT_EQ(kernel.backend->openSockets(), 0u);
}
