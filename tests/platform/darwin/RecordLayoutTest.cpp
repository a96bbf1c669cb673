#include "platform/darwin/RecordLayout.h"

#include <gtest/gtest.h>

#include <array>

using namespace darwin;

namespace {

// The shapes the socket records need: a network-order port and a raw address, nested
// twice at different base offsets.
struct Endpoint {
    uint16_t port = 0;
    std::array<uint8_t, 4> address{};

    bool operator==(const Endpoint&) const = default;
};

using EndpointLayout = RecordLayout<Endpoint, 8, // a sockaddr_in, say
                                    Field<&Endpoint::port, 2, Integer<uint16_t, std::endian::big>>,
                                    Field<&Endpoint::address, 4>>; // raw bytes

struct Sample {
    int8_t small = 0;
    uint64_t counter = 0;
    Endpoint local;
    Endpoint remote;
    std::string name;
    std::string comm;

    bool operator==(const Sample&) const = default;
};

using SampleLayout = RecordLayout<Sample, 40,                                 //
                                  Field<&Sample::small, 1>,                   //
                                  Field<&Sample::counter, 4>,                 // 4 mod 8
                                  Field<&Sample::local, 12, EndpointLayout>,  //
                                  Field<&Sample::remote, 20, EndpointLayout>, //
                                  Field<&Sample::name, 28, Text<5>>,          //
                                  Field<&Sample::comm, 33, Text<4, TextEnd::LastByteNul>>>;

const Sample kSample{
    -2, 0x0102030405060708ULL, {0x1234, {10, 0, 0, 1}}, {0xfffe, {192, 168, 1, 2}}, "abcde", "sh"};

} // namespace

// Little- and big-endian integers at odd offsets, nested records, both text endings.
TEST(RecordLayout, EveryKindOfFieldLandsAtItsOffsetAndNothingElseIsWritten) {
    std::array<unsigned char, SampleLayout::kSize + 1> bytes;
    bytes.fill(0xaa);
    SampleLayout::encode(kSample, bytes.data());
    EXPECT_EQ(SampleLayout::decode(bytes.data()), kSample);

    const std::array<unsigned char, SampleLayout::kSize + 1> expected = {
        0,    0xfe, 0,    0,                            // padding, small, padding
        0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, // counter, little-endian
        0,    0,    0x12, 0x34, 10,   0,    0,    1,    // local: padding, port, address
        0,    0,    0xff, 0xfe, 192,  168,  1,    2,    // remote
        'a',  'b',  'c',  'd',  'e',                    // a name filling its field: no NUL
        's',  'h',  0,    0,                            // comm, last byte always NUL
        0,    0,    0,                                  // tail padding
        0xaa};                                          // past the record: untouched
    EXPECT_EQ(bytes, expected);

    EXPECT_EQ(SampleLayout::read<&Sample::counter>(bytes.data()), 0x0102030405060708ULL);
    EXPECT_EQ(SampleLayout::read<&Sample::remote>(bytes.data()), kSample.remote);
    EXPECT_EQ(SampleLayout::sizeOf<&Sample::name>(), 5u);
    EXPECT_EQ(EndpointLayout::kAlignment, 2u) << "a nested record aligns as its widest field";
    EXPECT_EQ(SampleLayout::kAlignment, 4u) << "u64 included";
}

// The checks every layout passes at compile time must be able to fail.
TEST(RecordLayout, ChecksRefuseMisplacedFields) {
    using Small0 = Field<&Sample::small, 0>;
    using Counter4 = Field<&Sample::counter, 4>; // a u64 at 4 mod 8, as the device has it
    EXPECT_TRUE((detail::fieldsInOrderWithoutOverlap<Small0, Counter4>()));
    EXPECT_FALSE((detail::fieldsInOrderWithoutOverlap<Counter4, Field<&Sample::small, 11>>()));
    EXPECT_TRUE((detail::fieldsInsideRecord<12, Small0, Counter4>()));
    EXPECT_FALSE((detail::fieldsInsideRecord<11, Small0, Counter4>()));
    EXPECT_TRUE((detail::fieldsAligned<Counter4, Field<&Sample::name, 5, Text<5>>>()));
    EXPECT_FALSE((detail::fieldsAligned<Field<&Sample::counter, 2>>()));
}
