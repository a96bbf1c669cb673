#include "platform/darwin/Utmpx.h"
#include "platform/darwin/ByteOrder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace darwin;

namespace {

UtmpxEntry fullWidthEntry() {
    UtmpxEntry entry;
    entry.user = std::string(256, 'u');
    entry.id = "s012";
    entry.line = std::string(32, 'l');
    entry.host = std::string(256, 'h');
    entry.pid = 70000;
    entry.type = utmpx::USER_PROCESS;
    entry.tv = {-5, 999999};
    return entry;
}

using UtmpxBytes = std::vector<unsigned char>;

} // namespace

// darwin-abi.md, section 7.
TEST(Utmpx, FieldsSitAtTheDocumentedOffsets) {
    ASSERT_EQ(utmpx::Layout::kSize, 628u);
    UtmpxEntry entry;
    entry.user = "mobile";
    entry.id = "s000";
    entry.line = "ttys000";
    entry.host = "10.0.0.2";
    entry.pid = 0x01020304;
    entry.type = utmpx::DEAD_PROCESS;
    entry.tv = {1234567890, 654321};
    UtmpxBytes record(628, 0xee);
    utmpx::Layout::encode(entry, record.data());
    EXPECT_EQ(utmpx::Layout::decode(record.data()), entry);

    EXPECT_EQ(readCString(record.data(), 0, 256), "mobile");
    EXPECT_EQ(readCString(record.data(), 256, 4), "s000");
    EXPECT_EQ(readCString(record.data(), 260, 32), "ttys000");
    EXPECT_EQ(readLE<int32_t>(record.data(), 292), 0x01020304);
    EXPECT_EQ(readLE<int16_t>(record.data(), 296), 8);
    EXPECT_EQ(readLE<uint16_t>(record.data(), 298), 0) << "padding after ut_type";
    EXPECT_EQ(readLE<int32_t>(record.data(), 300), 1234567890);
    EXPECT_EQ(readLE<int32_t>(record.data(), 304), 654321);
    EXPECT_EQ(readCString(record.data(), 308, 256), "10.0.0.2");
    for (size_t i = 564; i < 628; ++i) {
        ASSERT_EQ(record[i], 0) << "ut_pad byte " << i;
    }
}

TEST(Utmpx, TextIsCutToItsFieldAsStrncpyDoes) {
    const UtmpxEntry entry = fullWidthEntry();
    UtmpxBytes record(628);
    utmpx::Layout::encode(entry, record.data());
    EXPECT_NE(record[260 + 31], 0) << "32-byte line has no NUL";
    EXPECT_NE(record[308 + 255], 0) << "256-byte host has no NUL";
    EXPECT_EQ(utmpx::Layout::decode(record.data()), entry);

    UtmpxEntry oversized;
    oversized.id = "toolong";
    oversized.line = std::string(40, 'x');
    utmpx::Layout::encode(oversized, record.data());
    const UtmpxEntry decoded = utmpx::Layout::decode(record.data());
    EXPECT_EQ(decoded.id, "tool");
    EXPECT_EQ(decoded.line, std::string(32, 'x'));
    EXPECT_EQ(readLE<int32_t>(record.data(), 292), 0) << "line must not spill into pid";
}

TEST(Utmpx, FileStartsWithTheSignatureRecord) {
    const std::vector<unsigned char> file = encodeUtmpxFile({fullWidthEntry(), UtmpxEntry{}});
    ASSERT_EQ(file.size(), 3 * 628u);

    const UtmpxEntry signature = utmpx::Layout::decode(file.data());
    EXPECT_EQ(signature.user, "utmpx-1.00");
    EXPECT_EQ(signature.type, utmpx::SIGNATURE);
    UtmpxBytes expected(628, 0);
    writeCString(expected.data(), 0, 11, "utmpx-1.00");
    writeLE<int16_t>(expected.data(), 296, 10);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin()))
        << "every other signature byte is zero";

    EXPECT_EQ(utmpx::Layout::decode(file.data() + 628), fullWidthEntry());
    EXPECT_EQ(utmpx::Layout::decode(file.data() + 2 * 628), UtmpxEntry{});
}
