// The network tests' buffers at the offsets the device's kernel writes, checked without
// the layout code that builds them.
#include "support/NetworkBuffers.h"
#include "platform/darwin/RecordBytes.h"

#include <gtest/gtest.h>

using namespace networkbuffers;
using recordbytes::at;
using recordbytes::chars;
using recordbytes::expectRecord;

TEST(NetworkBuffers, RouteMessageWithItsAddressesPaddedToFourBytes) {
    const Bytes message = route(darwin::RTF_UP | darwin::RTF_GATEWAY, sockaddrIn({0, 0, 0, 0}),
                                sockaddrIn({192, 168, 1, 1}), sockaddrMask({0, 0, 0, 0}, 0), 12, 2);
    ASSERT_EQ(message.size(), 92u + 16 + 16 + 4);
    expectRecord(message,
                 {at<uint16_t>(0, 128), at<uint8_t>(2, 5), at<uint8_t>(3, 4), at<uint16_t>(4, 2),
                  at<int32_t>(8, 3), at<int32_t>(12, 7), at<int32_t>(28, 12), at<uint8_t>(92, 16),
                  at<uint8_t>(93, 2), at<uint8_t>(108, 16), at<uint8_t>(109, 2),
                  chars(112, "\xc0\xa8\x01\x01"), at<uint8_t>(125, 0xff)});
}

TEST(NetworkBuffers, InterfaceMessageWithItsLinkAddressAndAFiller) {
    darwin::IfData64 data = interfaceData(darwin::IFT_ETHER, 1500);
    data.ipackets = uint64_t{1} << 32 | 7;
    const Bytes message = interface("en0", 2, data, {0, 0x11, 0x22, 0x33, 0x44, 0x55});
    ASSERT_EQ(message.size(), 160u + 20);
    expectRecord(message,
                 {at<uint16_t>(0, 180), at<uint8_t>(2, 5), at<uint8_t>(3, 18), at<int32_t>(4, 0x10),
                  at<int32_t>(8, 0x41), at<uint16_t>(12, 2), at<uint8_t>(32, 6),
                  at<uint32_t>(40, 1500), at<uint64_t>(56, uint64_t{1} << 32 | 7),
                  at<uint8_t>(160, 20), at<uint8_t>(161, 18), at<uint16_t>(162, 2),
                  at<uint8_t>(164, 6), at<uint8_t>(165, 3), at<uint8_t>(166, 6), chars(168, "en0"),
                  chars(171, std::string("\0\x11\x22\x33\x44\x55", 6))});
    const Bytes filler =
        newAddressMessage(2, sockaddrMask({255, 0, 0, 0}, 5), sockaddrIn({10, 0, 0, 1}));
    ASSERT_EQ(filler.size(), 20u + 8 + 16);
    EXPECT_EQ(filler[0], 44);
    EXPECT_EQ(filler[3], darwin::RTM_NEWADDR);
    EXPECT_EQ(filler[12], 2);
}

TEST(NetworkBuffers, ControlBlockListWithItsHeaders) {
    const Bytes list = pcblist(
        9, {record(tcpSocket({10, 0, 0, 1}, 22, {10, 0, 0, 2}, 0x1234, darwin::TCPS_LISTEN, 5))});
    ASSERT_EQ(list.size(), 24u + 524 + 24);
    const Bytes header(list.begin(), list.begin() + 24);
    expectRecord(header, {at<uint32_t>(0, 24), at<uint32_t>(4, 1), at<uint64_t>(8, 9)});
    const Bytes tcp(list.begin() + 24, list.begin() + 24 + 524);
    expectRecord(tcp, {at<uint32_t>(0, 524), chars(20, "\x12\x34"),
                       chars(22, std::string("\0\x16", 2)), at<uint64_t>(64, 5), at<uint8_t>(80, 1),
                       at<uint8_t>(82, 6), chars(96, std::string("\x0a\0\0\x02", 4)),
                       chars(112, std::string("\x0a\0\0\x01", 4)), at<int32_t>(244, 1),
                       at<uint16_t>(424, 1), at<int32_t>(436, 6), at<int32_t>(440, 2),
                       at<uint32_t>(416, 100)});
    EXPECT_EQ(Bytes(list.end() - 24, list.end()), header) << "the closing header";
    EXPECT_EQ(pcblist(3, {}).size(), 24u) << "an empty list ends after its header";
}
