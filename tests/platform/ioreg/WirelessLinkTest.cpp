#include "platform/ioreg/WirelessLink.h"

#include <gtest/gtest.h>

#include <linux/nl80211.h>

#include <cstring>
#include <vector>

namespace {

using ioreg::WirelessLink;

// Netlink attributes as the kernel lays them out: a 4-byte header (length, type), the
// payload, padding to 4 bytes.
struct Attributes {
    std::vector<uint8_t> bytes;

    Attributes& add(uint16_t type, const void* payload, size_t length,
                    uint16_t declaredLength = 0) {
        const uint16_t nlaLength = declaredLength ? declaredLength : uint16_t(4 + length);
        const size_t start = bytes.size();
        bytes.resize(start + 4 + ((length + 3) & ~size_t{3}));
        std::memcpy(bytes.data() + start, &nlaLength, 2);
        std::memcpy(bytes.data() + start + 2, &type, 2);
        std::memcpy(bytes.data() + start + 4, payload, length);
        return *this;
    }
    Attributes& u32(uint16_t type, uint32_t value) { return add(type, &value, 4); }
    Attributes& text(uint16_t type, const char* value) {
        return add(type, value, std::strlen(value));
    }
    WirelessLink parse() const { return WirelessLink::parseAttributes(bytes.data(), bytes.size()); }
};

TEST(WirelessLink, AnInterfaceReplyGivesTheNetworkNameAndFrequency) {
    const WirelessLink link = Attributes()
                                  .u32(NL80211_ATTR_IFINDEX, 3)
                                  .text(NL80211_ATTR_IFNAME, "wlan0")
                                  .u32(NL80211_ATTR_WIPHY, 0)
                                  .text(NL80211_ATTR_SSID, "HomeNet")
                                  .u32(NL80211_ATTR_WIPHY_FREQ, 2437)
                                  .u32(NL80211_ATTR_CHANNEL_WIDTH, 1)
                                  .parse();
    EXPECT_EQ(link.ssid, QByteArray("HomeNet"));
    EXPECT_EQ(link.frequencyMHz, 2437u);

    const WirelessLink unassociated =
        Attributes().u32(NL80211_ATTR_IFINDEX, 3).text(NL80211_ATTR_IFNAME, "wlan0").parse();
    EXPECT_FALSE(unassociated.ssid);
    EXPECT_FALSE(unassociated.frequencyMHz);
}

TEST(WirelessLink, MalformedAttributesEndTheWalkWithoutReadingPastTheReply) {
    // A length beyond the reply: the walk stops there.
    Attributes truncated;
    truncated.text(NL80211_ATTR_SSID, "Before").u32(NL80211_ATTR_WIPHY_FREQ, 5180);
    const uint16_t tooLong = 200;
    std::memcpy(truncated.bytes.data() + 12, &tooLong, 2);
    const WirelessLink cut = truncated.parse();
    EXPECT_EQ(cut.ssid, QByteArray("Before"));
    EXPECT_FALSE(cut.frequencyMHz);

    // A length shorter than the header would never advance.
    const uint8_t zero = 0;
    const WirelessLink stuck = Attributes()
                                   .add(NL80211_ATTR_IFINDEX, &zero, 0, 2)
                                   .u32(NL80211_ATTR_WIPHY_FREQ, 2412)
                                   .parse();
    EXPECT_FALSE(stuck.frequencyMHz);

    // A frequency of the wrong size and an SSID beyond 32 bytes are not taken.
    const uint16_t shortFrequency = 2412;
    const WirelessLink wrongSizes =
        Attributes()
            .add(NL80211_ATTR_WIPHY_FREQ, &shortFrequency, 2)
            .text(NL80211_ATTR_SSID, "0123456789abcdef0123456789abcdefX")
            .parse();
    EXPECT_FALSE(wrongSizes.frequencyMHz);
    EXPECT_FALSE(wrongSizes.ssid);

    // A reply shorter than one header, and none at all.
    const uint8_t crumbs[3] = {8, 0, 52};
    EXPECT_FALSE(WirelessLink::parseAttributes(crumbs, sizeof crumbs).ssid);
    EXPECT_FALSE(WirelessLink::parseAttributes(nullptr, 0).ssid);

    // The last attribute's padding may be missing from the reply.
    Attributes unpadded;
    unpadded.text(NL80211_ATTR_SSID, "abc");
    unpadded.bytes.pop_back();
    EXPECT_EQ(unpadded.parse().ssid, QByteArray("abc"));
}

TEST(WirelessLink, FrequenciesGiveTheirChannelAndBand) {
    struct Case {
        uint32_t mhz;
        std::optional<int> channel;
        std::optional<QString> band;
    };
    const Case cases[] = {{2412, 1, "2.4 GHz"}, {2472, 13, "2.4 GHz"}, {2484, 14, "2.4 GHz"},
                          {5180, 36, "5 GHz"},  {5825, 165, "5 GHz"},  {5935, 2, "6 GHz"},
                          {5955, 1, "6 GHz"},   {7115, 233, "6 GHz"},  {60480, {}, {}},
                          {2300, {}, {}},       {5940, {}, {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(WirelessLink::channelOf(c.mhz), c.channel) << c.mhz;
        EXPECT_EQ(WirelessLink::bandOf(c.mhz), c.band) << c.mhz;
    }
}

} // namespace
