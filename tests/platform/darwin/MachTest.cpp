#include "platform/darwin/Mach.h"

#include <gtest/gtest.h>

#include <array>

using namespace darwin;

namespace {

// Every field distinct, so a swapped pair shows.
VmStatistics sampleStatistics() {
    return {101, 102, 103, 104, 105, 106, 107, 108, 0xfffffff9u, 110, 111, 112, 113, 114, 115};
}

VmStatistics64 sampleStatistics64() {
    return {201,
            202,
            203,
            0xfffffffeu,
            0x100000005ULL,
            0x200000006ULL,
            0x300000007ULL,
            0x400000008ULL,
            0x500000009ULL,
            0x60000000aULL,
            0x70000000bULL,
            0x80000000cULL,
            ~0ULL,
            214,
            215};
}

using Words15 = std::array<natural_t, 15>;
using Words24 = std::array<natural_t, 24>;

} // namespace

// darwin-abi.md, section 3.
TEST(VmStatistics, WordsFollowTheKernelRecord) {
    ASSERT_EQ(vm_statistics::Layout::kSize, sizeof(Words15));
    Words15 words{};
    vm_statistics::Layout::encode(sampleStatistics(), words.data());
    EXPECT_EQ(vm_statistics::Layout::decode(words.data()), sampleStatistics());
    EXPECT_EQ(words, (Words15{101, 102, 103, 104, 105, 106, 107, 108, 0xfffffff9u, 110, 111, 112,
                              113, 114, 115}));
}

TEST(VmStatistics64, WideCountersTakeTwoWordsLowFirst) {
    ASSERT_EQ(vm_statistics64::Layout::kSize, sizeof(Words24));
    Words24 words{};
    vm_statistics64::Layout::encode(sampleStatistics64(), words.data());
    EXPECT_EQ(vm_statistics64::Layout::decode(words.data()), sampleStatistics64());
    EXPECT_EQ(words[3], 0xfffffffeu) << "wire_count";
    EXPECT_EQ(words[4], 5u) << "word 4: zero_fill_count, low half";
    EXPECT_EQ(words[5], 1u);
    EXPECT_EQ(words[18], 0xcu) << "hits";
    EXPECT_EQ(words[19], 8u);
    EXPECT_EQ(words[20], 0xffffffffu) << "purges precedes the two narrow counts";
    EXPECT_EQ(words[21], 0xffffffffu);
    EXPECT_EQ(words[22], 214u) << "purgeable_count";
    EXPECT_EQ(words[23], 215u) << "speculative_count ends the 96-byte record";
}

TEST(VmStatistics64, TruncationKeepsTheLow32BitsOfEachCounter) {
    const VmStatistics narrow = truncatedVmStatistics(sampleStatistics64());
    EXPECT_EQ(narrow, (VmStatistics{201, 202, 203, 0xfffffffeu, 5, 6, 7, 8, 9, 10, 11, 12, 214,
                                    0xffffffffu, 215}));
}
