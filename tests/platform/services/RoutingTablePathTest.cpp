#include "platform/services/RoutingTablePath.h"
#include "platform/services/NetworkReachability.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using services::NetworkPath;
using services::RoutingTablePath;

// A default route, of either family, is a path, cellular when it goes over a modem;
// local routes, loopback and an IPv6 reject route are none.
TEST(RoutingTablePath, ADefaultRouteIsAPathAndOverAModemACellularOne) {
    const std::tuple<const char*, bool, bool> roots[] = {{"default-wlan", true, false},
                                                         {"default-wwan", true, true},
                                                         {"no-default", false, false},
                                                         {"ipv6-only", true, false},
                                                         {"ipv6-reject", false, false}};
    for (const auto& [root, exists, cellular] : roots) {
        const auto path = RoutingTablePath::read(testenv::fixturePath("routing/") + root);
        ASSERT_TRUE(path.has_value()) << root;
        EXPECT_EQ(path->exists, exists) << root;
        EXPECT_EQ(path->cellular, cellular) << root;
    }
    EXPECT_FALSE(RoutingTablePath::read(testenv::makeTempDir("empty-root")).has_value())
        << "unreadable tables tell nothing";
}

TEST(NetworkReachability, FlagsCannotBeReadWhenNoSourceKnows) {
    const auto reference = services::NetworkReachability::createWithName("ormel.example.org");
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->hostName(), "ormel.example.org");
    services::NetworkReachability::setPathSource([] { return std::nullopt; });
    uint32_t flags = 0;
    EXPECT_FALSE(reference->getFlags(&flags));
    services::NetworkReachability::setPathSource([] { return NetworkPath{true, true}; });
    EXPECT_TRUE(reference->getFlags(&flags));
    EXPECT_EQ(flags, 0x40002u);
    services::NetworkReachability::setPathSource({});
    EXPECT_EQ(services::NetworkReachability::createWithName(""), nullptr);
}

} // namespace
