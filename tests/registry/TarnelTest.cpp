#include "registry/tarnel.h"

#include "support/TestEnvironment.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

using namespace registryfile;

// Three ranges with a gap between the second and third; the last ends the file.
const std::vector<Range> threeRanges = {
    {ip(1, 0, 0, 0), ip(1, 0, 1, 0), JP, APNIC, 20050315, ALLOCATED},
    {ip(1, 0, 1, 0), ip(1, 0, 4, 0), JP, APNIC, 0, ASSIGNED},
    {ip(3, 0, 0, 0), ip(4, 0, 0, 0), US, ARIN, 19940101, ALLOCATED},
};

class TarnelTest : public ::testing::Test {
protected:
    // The registry object of other tests may have left the engine open.
    void SetUp() override { tl_finish(); }
    void TearDown() override { tl_finish(); }

    // Opens a file of these ranges; the path stays valid for the test.
    void openWith(const std::vector<Range>& ranges) {
        ASSERT_TRUE(registryfile::write(path_, registryfile::bytes({}, ranges)));
        ASSERT_EQ(initAt(path_), 0);
    }
    int initAt(const QString& path) { return tl_init(QFile::encodeName(path).constData()); }

    QString dir_ = testenv::makeTempDir("tarnel");
    QString path_ = dir_ + "/ccTLD.dat";
};

uint32_t firstOf(const tl_range* range) {
    return range != nullptr ? tl_range_first(range) : 0xffffffffu;
}

TEST(TarnelTables, RowsSitWhereTheFileRefersToThem) {
    EXPECT_STREQ(tldTable[0].code, "??");
    EXPECT_STREQ(tldTable[1].code, "SIP01");
    EXPECT_STREQ(tldTable[30].code, "SIP30");
    // Rows whose names are not the countries' current ones, kept for old ranges.
    const std::pair<uint32_t, const char*> named[] = {{82, "Serbia And Montenegro"},
                                                      {240, "Soviet Union"},
                                                      {265, "America, United States Of (USA)"},
                                                      {279, "Yugoslavia"}};
    for (const auto& [row, name] : named) {
        EXPECT_STREQ(tldTable[row].name, name) << row;
    }
}

// The registry file builder and the flag renderer take the same code list; the
// table must hold exactly those codes in that order.
TEST(TarnelTables, CountryRowsFollowTheSharedCodeList) {
    QFile codes(QStringLiteral(ORMEL_SOURCE_DIR "/tools/flags/codes.txt"));
    ASSERT_TRUE(codes.open(QIODevice::ReadOnly | QIODevice::Text));
    uint32_t row = 31;
    QTextStream in(&codes);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        ASSERT_LT(row, TL_TLD_ROWS);
        EXPECT_EQ(QString::fromLatin1(tldTable[row].code), line.toUpper()) << row;
        EXPECT_GT(std::strlen(tldTable[row].name), 2u) << row;
        ++row;
    }
    EXPECT_EQ(row, TL_TLD_ROWS);
}

// Which record holds an address, and what an answer carries, the fuzzer checks against
// the file; the network text it does not. An unaligned range prints its first address.
TEST_F(TarnelTest, NetworkTextNamesTheSmallestCoveringPrefix) {
    const uint32_t base = ip(10, 0, 0, 0);
    const std::tuple<uint32_t, uint32_t, const char*> ladder[] = {
        {base, 256, "10.0.0.0/24"},
        {base, 257, "10.0.0.0/23"},
        {base, 2, "10.0.0.0/31"},
        {base, 3, "10.0.0.0/30"},
        {base, 1u << 28, "10.0.0.0/4"},
        {base, (1u << 27) + 1, "10.0.0.0/4"},
        {ip(1, 0, 1, 0), 768, "1.0.1.0/22"},
        {base, 1, nullptr},
        {base, (1u << 28) + 1, nullptr},
        {base, 0, nullptr}};
    for (const auto& [first, size, expected] : ladder) {
        tl_range range{};
        darwin::writeLE<uint32_t>(range.bytes, 0, first);
        darwin::writeLE<uint32_t>(range.bytes, 4, first + size);
        char* network = reinterpret_cast<char*>(1);
        const int result = assigned_network(&range, &network);
        if (expected == nullptr) {
            EXPECT_EQ(result, -1) << size;
            EXPECT_EQ(network, nullptr) << size;
        } else {
            EXPECT_EQ(result, 0) << size;
            EXPECT_STREQ(network, expected) << size;
        }
        std::free(network);
    }
}

// Texts the fuzzer checks against the dotted-quad form; no text at all it cannot give.
TEST_F(TarnelTest, TextSearchesRefuseNoText) {
    openWith(threeRanges);
    EXPECT_EQ(tl_validate(nullptr), -1);
    for (const char* nothing : {static_cast<const char*>(nullptr), ""}) {
        errno = 0;
        EXPECT_EQ(lookup_database2(nothing), nullptr);
        EXPECT_EQ(errno, EINVAL);
    }
}

TEST_F(TarnelTest, OpensOnlyRegularFilesAndNoLinks) {
    ASSERT_TRUE(registryfile::write(path_, registryfile::bytes({}, threeRanges)));
    const QString link = dir_ + "/link.dat";
    ASSERT_EQ(::symlink(path_.toUtf8().constData(), link.toUtf8().constData()), 0);
    EXPECT_EQ(initAt(link), -1);
    EXPECT_EQ(initAt(dir_), -1);
    const QString fifo = dir_ + "/fifo.dat";
    ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
    EXPECT_EQ(initAt(fifo), -1); // returns at once instead of waiting for a writer
    errno = 0;
    EXPECT_EQ(initAt(dir_ + "/missing.dat"), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(tl_current_state().descriptor, -1);
    EXPECT_EQ(initAt(path_), 0);
}

TEST_F(TarnelTest, ReopeningReplacesTheFileInUse) {
    openWith(threeRanges);
    const QString other = dir_ + "/other.dat";
    ASSERT_TRUE(registryfile::write(
        other, registryfile::bytes(
                   {}, {{ip(8, 0, 0, 0), ip(9, 0, 0, 0), US, ARIN, 19921201, ALLOCATED}})));
    ASSERT_EQ(initAt(other), 0);
    EXPECT_EQ(lookup_database(ip(1, 0, 0, 1)), nullptr);
    EXPECT_EQ(firstOf(lookup_database(ip(8, 8, 8, 8))), ip(8, 0, 0, 0));
}

} // namespace
