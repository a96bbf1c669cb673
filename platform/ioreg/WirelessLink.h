#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ioreg {

// The link of a wireless interface as nl80211 describes it: the network name and the
// frequency it works on.
struct WirelessLink {
    std::optional<QByteArray> ssid;
    std::optional<uint32_t> frequencyMHz;

    // Reads NL80211_ATTR_SSID and NL80211_ATTR_WIPHY_FREQ from the attributes of an
    // NL80211_CMD_GET_INTERFACE reply (what follows the generic netlink header). The
    // walk stops at the first attribute whose length does not fit; an attribute of the
    // wrong size is ignored.
    static WirelessLink parseAttributes(const uint8_t* attributes, size_t length);

    // The IEEE channel number of a frequency and its band ("2.4 GHz", "5 GHz", "6 GHz");
    // none outside those bands.
    static std::optional<int> channelOf(uint32_t frequencyMHz);
    static std::optional<QString> bandOf(uint32_t frequencyMHz);
};

} // namespace ioreg
