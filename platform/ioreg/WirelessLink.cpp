#include "platform/ioreg/WirelessLink.h"

#include <linux/netlink.h>
#include <linux/nl80211.h>

#include <cstring>

namespace ioreg {

namespace {

constexpr size_t kMaxSsidBytes = 32;

bool in24GHz(uint32_t mhz) {
    return mhz >= 2412 && mhz <= 2484;
}

bool in5GHz(uint32_t mhz) {
    return mhz >= 5150 && mhz <= 5895;
}

// 5935 MHz is the 6 GHz band's channel 2, below its regular grid.
bool in6GHz(uint32_t mhz) {
    return mhz >= 5935 && mhz <= 7115 && !(mhz > 5935 && mhz < 5955);
}

} // namespace

WirelessLink WirelessLink::parseAttributes(const uint8_t* attributes, size_t length) {
    WirelessLink link;
    size_t offset = 0;
    while (length - offset >= NLA_HDRLEN) {
        nlattr header{};
        std::memcpy(&header, attributes + offset, sizeof header);
        if (header.nla_len < NLA_HDRLEN || header.nla_len > length - offset) {
            break;
        }
        const uint8_t* payload = attributes + offset + NLA_HDRLEN;
        const size_t payloadLength = header.nla_len - NLA_HDRLEN;
        const auto type = header.nla_type & NLA_TYPE_MASK;
        if (type == NL80211_ATTR_SSID && payloadLength <= kMaxSsidBytes) {
            link.ssid = QByteArray(reinterpret_cast<const char*>(payload),
                                   static_cast<qsizetype>(payloadLength));
        } else if (type == NL80211_ATTR_WIPHY_FREQ && payloadLength == sizeof(uint32_t)) {
            uint32_t frequency = 0;
            std::memcpy(&frequency, payload, sizeof frequency);
            link.frequencyMHz = frequency;
        }
        const size_t step = NLA_ALIGN(header.nla_len);
        if (step > length - offset) {
            break;
        }
        offset += step;
    }
    return link;
}

std::optional<int> WirelessLink::channelOf(uint32_t mhz) {
    if (mhz == 2484) {
        return 14;
    }
    if (in24GHz(mhz)) {
        return static_cast<int>(mhz - 2407) / 5;
    }
    if (in5GHz(mhz)) {
        return static_cast<int>(mhz - 5000) / 5;
    }
    if (mhz == 5935) {
        return 2;
    }
    if (in6GHz(mhz)) {
        return static_cast<int>(mhz - 5950) / 5;
    }
    return std::nullopt;
}

std::optional<QString> WirelessLink::bandOf(uint32_t mhz) {
    if (in24GHz(mhz)) {
        return QStringLiteral("2.4 GHz");
    }
    if (in5GHz(mhz)) {
        return QStringLiteral("5 GHz");
    }
    if (in6GHz(mhz)) {
        return QStringLiteral("6 GHz");
    }
    return std::nullopt;
}

} // namespace ioreg
