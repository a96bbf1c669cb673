#include "platform/darwin/ByteOrder.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace darwin;

namespace {

template <class T> void expectRoundTripsAtEveryOffset(T value) {
    for (size_t offset = 0; offset < 8; ++offset) {
        std::array<unsigned char, 24> buffer{};
        writeLE<T>(buffer.data(), offset, value);
        EXPECT_EQ(readLE<T>(buffer.data(), offset), value) << "offset " << offset;
        for (size_t i = 0; i < buffer.size(); ++i) {
            if (i < offset || i >= offset + sizeof(T)) {
                EXPECT_EQ(buffer[i], 0) << "byte " << i << " outside the field was touched";
            }
        }
    }
}

} // namespace

TEST(ByteOrder, EveryWidthRoundTripsAtOddOffsets) {
    expectRoundTripsAtEveryOffset<int8_t>(-128);
    expectRoundTripsAtEveryOffset<uint8_t>(0xfe);
    expectRoundTripsAtEveryOffset<int16_t>(-2);
    expectRoundTripsAtEveryOffset<uint16_t>(0xbeef);
    expectRoundTripsAtEveryOffset<int32_t>(std::numeric_limits<int32_t>::min());
    expectRoundTripsAtEveryOffset<uint32_t>(0xdeadbeefu);
    expectRoundTripsAtEveryOffset<int64_t>(-0x0123456789abcdefLL);
    expectRoundTripsAtEveryOffset<uint64_t>(0xfedcba9876543210ULL);
}

TEST(ByteOrder, StoresLeastSignificantByteFirst) {
    std::array<unsigned char, 16> buffer{};
    writeLE<uint32_t>(buffer.data(), 3, 0x11223344u);
    EXPECT_EQ(buffer[3], 0x44);
    EXPECT_EQ(buffer[6], 0x11);
    writeLE<uint64_t>(buffer.data(), 7, 0x0102030405060708ULL);
    EXPECT_EQ(buffer[7], 0x08);
    EXPECT_EQ(buffer[14], 0x01);
    // A u64 read at 4 mod 8 over device bytes, as process and socket records have them.
    const unsigned char device[12] = {0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 1, 0, 0, 0};
    EXPECT_EQ(readLE<uint64_t>(device, 4), 0x1ffffffffULL);
    EXPECT_EQ(readLE<int16_t>(device, 5), -1);
}
