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

} // namespace

TEST(Utmpx, FieldsSitAtTheDeviceOffsets) {
    UtmpxEntry entry;
    entry.user = "mobile";
    entry.line = "ttys000";
    entry.host = "10.0.0.2";
    entry.pid = 0x01020304;
    entry.type = utmpx::DEAD_PROCESS;
    entry.tv.sec = 1234567890;
    std::vector<unsigned char> record(utmpx::Layout::kSize, 0xee);
    utmpx::Layout::encode(entry, record.data());

    EXPECT_EQ(readCString(record.data(), 0, 256), "mobile");
    EXPECT_EQ(readCString(record.data(), 260, 32), "ttys000");
    EXPECT_EQ(readLE<int32_t>(record.data(), 292), 0x01020304);
    EXPECT_EQ(readLE<int16_t>(record.data(), 296), 8);
    EXPECT_EQ(readLE<uint16_t>(record.data(), 298), 0) << "padding after ut_type";
    EXPECT_EQ(readLE<int32_t>(record.data(), 300), 1234567890);
    EXPECT_EQ(readCString(record.data(), 308, 256), "10.0.0.2");
    for (size_t i = 564; i < utmpx::Layout::kSize; ++i) {
        ASSERT_EQ(record[i], 0) << "ut_pad byte " << i;
    }
}

TEST(Utmpx, FullWidthFieldsWithoutNulSurviveARoundTrip) {
    const UtmpxEntry entry = fullWidthEntry();
    std::vector<unsigned char> record(utmpx::Layout::kSize);
    utmpx::Layout::encode(entry, record.data());
    EXPECT_NE(record[260 + 31], 0) << "32-byte line has no NUL";
    EXPECT_NE(record[308 + 255], 0) << "256-byte host has no NUL";
    EXPECT_EQ(utmpx::Layout::decode(record.data()), entry);
}

TEST(Utmpx, OversizedTextIsCutToTheField) {
    UtmpxEntry entry;
    entry.id = "toolong";
    entry.line = std::string(40, 'x');
    std::vector<unsigned char> record(utmpx::Layout::kSize);
    utmpx::Layout::encode(entry, record.data());
    const UtmpxEntry decoded = utmpx::Layout::decode(record.data());
    EXPECT_EQ(decoded.id, "tool");
    EXPECT_EQ(decoded.line, std::string(32, 'x'));
    EXPECT_EQ(readLE<int32_t>(record.data(), 292), 0) << "line must not spill into pid";
}

TEST(Utmpx, FileStartsWithTheSignatureRecord) {
    const std::vector<unsigned char> file = encodeUtmpxFile({fullWidthEntry(), UtmpxEntry{}});
    ASSERT_EQ(file.size(), 3 * utmpx::Layout::kSize);

    const UtmpxEntry signature = utmpx::Layout::decode(file.data());
    EXPECT_EQ(signature.user, "utmpx-1.00");
    EXPECT_EQ(signature.type, utmpx::SIGNATURE);
    std::vector<unsigned char> expected(utmpx::Layout::kSize, 0);
    writeCString(expected.data(), 0, 11, "utmpx-1.00");
    writeLE<int16_t>(expected.data(), 296, 10);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin()))
        << "every other signature byte is zero";

    EXPECT_EQ(utmpx::Layout::decode(file.data() + utmpx::Layout::kSize), fullWidthEntry());
    EXPECT_EQ(utmpx::Layout::decode(file.data() + 2 * utmpx::Layout::kSize), UtmpxEntry{});
}
