#include "platform/services/RoutingTablePath.h"
#include "platform/services/NetworkReachability.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using services::NetworkPath;
using services::RoutingTablePath;

std::optional<NetworkPath> pathIn(const QString& root) {
    return RoutingTablePath::read(testenv::fixturePath("routing/" + root));
}

TEST(RoutingTablePath, ADefaultRouteIsAPath) {
    const auto wlan = pathIn("default-wlan");
    ASSERT_TRUE(wlan.has_value());
    EXPECT_TRUE(wlan->exists);
    EXPECT_FALSE(wlan->cellular);
}

TEST(RoutingTablePath, ADefaultRouteOverAModemIsCellular) {
    const auto wwan = pathIn("default-wwan");
    ASSERT_TRUE(wwan.has_value());
    EXPECT_TRUE(wwan->exists);
    EXPECT_TRUE(wwan->cellular);
    EXPECT_EQ(services::NetworkReachability::flagsForPath(*wwan), 0x40002u);
}

TEST(RoutingTablePath, LocalRoutesAndLoopbackAreNoPath) {
    const auto local = pathIn("no-default");
    ASSERT_TRUE(local.has_value());
    EXPECT_FALSE(local->exists);
}

TEST(RoutingTablePath, AnIpv6DefaultRouteCounts) {
    const auto v6 = pathIn("ipv6-only");
    ASSERT_TRUE(v6.has_value());
    EXPECT_TRUE(v6->exists);
}

TEST(RoutingTablePath, UnreadableTablesTellNothing) {
    EXPECT_FALSE(RoutingTablePath::read(testenv::makeTempDir("empty-root")).has_value());
}

TEST(RoutingTablePath, AnIpv6RejectRouteIsNoPath) {
    const auto rejected = pathIn("ipv6-reject");
    ASSERT_TRUE(rejected.has_value());
    EXPECT_FALSE(rejected->exists);
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
