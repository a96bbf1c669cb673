#include "network/SocketAddressText.h"
#include "support/NetworkBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

using namespace networkbuffers;

namespace {

// sock_ntop's text of the address, with `available` bytes or all there are.
std::optional<std::string> textOf(const Bytes& address, size_t available = SIZE_MAX) {
    const char* text = sock_ntop(address.data(), std::min(available, address.size()));
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

} // namespace

TEST(SocketAddressText, AddressesByFamily) {
    const std::vector<uint8_t> eui64{0x00, 0x1b, 0x63, 0xff, 0xfe, 0x0a, 0x0b, 0x0c};
    const struct {
        Bytes address;
        std::optional<std::string> text;
        const char* why;
    } cases[] = {
        {sockaddrOf(0, darwin::AF_INET_DARWIN), "default", "sa_len 0: no address bytes"},
        {sockaddrOf(16, darwin::AF_UNSPEC_DARWIN, std::vector<uint8_t>(14, 1)), std::nullopt,
         "AF_UNSPEC"},
        {sockaddrOf(16, 16, std::vector<uint8_t>(14, 1)), std::nullopt, "family 16"},
        {sockaddrMask({0, 0, 0, 0}), "/0", "/0"},
        {sockaddrMask({255, 0, 255, 0}), "/8", "non-contiguous: up to the first zero bit"},
        {sockaddrMask({255, 255, 255, 0}, 7), "/24", "the radix tree's short /24"},
        {sockaddrMask({255, 255, 255, 255}, 5), "/8", "bytes past sa_len are not read"},
        {sockaddrOf(8, 99, {1, 2, 3, 4, 5, 6}), "(99) 0102 0304 0506", "another family"},
        {sockaddrOf(7, 99, {1, 2, 3, 4, 5, 6}), "(99) 0102 0304 05", "an odd count of bytes"},
        {sockaddrOf(1, 99, {1, 2}), "(99)", "sa_len below the head"},
        {sockaddrDl(4, darwin::IFT_ETHER), "link#4", "no name, address or selector"},
        {sockaddrDl(7, darwin::IFT_L2VLAN, "vlan0", {0, 0x11, 0x22, 0x33, 0x44, 0xaa}),
         "00:11:22:33:44:aa", "VLAN"},
        {sockaddrDl(9, darwin::IFT_IEEE1394, "fw0", eui64), "fw0:0.1b.63.ff.fe.a.b.c",
         "FireWire: link_ntoa"},
        {sockaddrDl(3, darwin::IFT_PPP, "", {0x0a, 0xbc}), "a.bc", "link_ntoa without a name"},
        {sockaddrDl(3, darwin::IFT_ETHER, "en0", {1, 2, 3, 4, 5}), "en0:1.2.3.4.5",
         "Ethernet without 6 bytes: link_ntoa"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textOf(c.address), c.text) << c.why;
    }
}

// The kernel's lengths are not trusted beyond the bytes there are.
TEST(SocketAddressText, NeverReadsPastTheAddressOrTheBuffer) {
    EXPECT_EQ(textOf(sockaddrOf(8, 99, {1, 2, 3, 4, 5, 6}), 5), "(99) 0102 03");
    EXPECT_EQ(textOf(sockaddrIn({10, 0, 0, 1}), 1), std::nullopt);
    Bytes ether = sockaddrDl(2, darwin::IFT_ETHER, "en0", {0, 0x11, 0x22, 0x33, 0x44, 0x55});
    ether[0] = 12; // the address would end past sa_len
    EXPECT_EQ(textOf(ether), "en0:0") << "link_ntoa of what sa_len holds";

    std::vector<uint8_t> data(253, 0xab);
    const std::string longest = *textOf(sockaddrOf(255, 200, data));
    EXPECT_LT(longest.size(), 128u);
    EXPECT_EQ(longest.substr(0, 10), "(200) abab");
    EXPECT_EQ(longest.size(), 5 + 24 * 5u) << "pairs while fewer than 122 characters";
}

// The gathering thread prints routes while a screen holds a text it printed.
TEST(SocketAddressText, EachThreadPrintsIntoBuffersOfItsOwn) {
    const Bytes route = sockaddrIn({10, 1, 2, 3});
    const unsigned char ether[6] = {1, 2, 3, 4, 5, 6};
    const unsigned char address[4] = {10, 9, 8, 7};
    const char* routeText = sock_ntop(route.data(), route.size());
    const char* etherText = ether_ntop(ether);
    const char* addressText = inetname(address);
    std::thread([] {
        const Bytes other = sockaddrIn({172, 16, 0, 1});
        const unsigned char zero[6] = {};
        sock_ntop(other.data(), other.size());
        ether_ntop(zero);
        inetname(zero);
    }).join();
    EXPECT_STREQ(routeText, "10.1.2.3");
    EXPECT_STREQ(etherText, "01:02:03:04:05:06");
    EXPECT_STREQ(addressText, "10.9.8.7");
}
