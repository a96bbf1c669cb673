#include "registry/tarnel.h"

#include "support/TestEnvironment.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/stat.h>
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

    // Opens a file with these records; the path stays valid for the test.
    void openWith(const QByteArray& data) {
        ASSERT_TRUE(registryfile::write(path_, data));
        ASSERT_EQ(tl_init(path_.toUtf8().constData()), 0);
    }
    void openWith(const std::vector<Range>& ranges, const std::vector<Registry>& registries = {}) {
        openWith(registryfile::bytes(registries, ranges));
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
    EXPECT_STREQ(tldTable[146].code, "JP");
    EXPECT_STREQ(tldTable[265].code, "US");
    EXPECT_STREQ(tldTable[282].code, "ZW");
    EXPECT_EQ(lookup_tld_table(282), &tldTable[282]);
    EXPECT_EQ(lookup_tld_table(283), nullptr);
    EXPECT_STREQ(lookup_rir_table(5)->name, "RIPE NCC");
    EXPECT_EQ(lookup_rir_table(6), nullptr);
    EXPECT_STREQ(statusTable[2], "assigned");
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

// Which record holds an address, in general, the fuzzer checks against a plain scan;
// these are the edges a reader of the code would ask about.
TEST_F(TarnelTest, RangesHoldTheirFirstAddressAndNotTheirEnd) {
    openWith(threeRanges);
    EXPECT_EQ(firstOf(lookup_database(ip(1, 0, 1, 0))), ip(1, 0, 1, 0));
    EXPECT_EQ(firstOf(lookup_database(ip(3, 255, 255, 255))), ip(3, 0, 0, 0));
    for (uint32_t address : {ip(1, 0, 4, 0), ip(4, 0, 0, 0), 0u}) {
        errno = 0;
        EXPECT_EQ(lookup_database(address), nullptr) << address;
        EXPECT_EQ(errno, ENOENT) << address;
    }
    tl_answer answer{};
    answer.date = 77;
    EXPECT_EQ(tl_lookup("2.0.0.1", &answer, nullptr), -1);
    EXPECT_EQ(answer.date, 77u); // untouched
}

TEST_F(TarnelTest, AnswersPointIntoTheTablesAndCarryTheNetwork) {
    openWith(threeRanges);
    tl_answer answer{};
    char* network = nullptr;
    ASSERT_EQ(tl_lookup("1.0.2.9", &answer, &network), 0);
    EXPECT_EQ(answer.registry, &rirTable[APNIC]);
    EXPECT_EQ(answer.country, &tldTable[JP]);
    EXPECT_EQ(answer.date, 0u);
    EXPECT_STREQ(answer.status, "assigned");
    EXPECT_EQ(answer.first, ip(1, 0, 1, 0));
    EXPECT_EQ(answer.end, ip(1, 0, 4, 0));
    // 768 addresses need a /22, printed from the unaligned first address.
    EXPECT_STREQ(network, "1.0.1.0/22");
    std::free(network);
}

TEST_F(TarnelTest, ASingleAddressRangeIsFoundWithoutANetwork) {
    openWith({{ip(9, 9, 9, 9), ip(9, 9, 9, 10), US, ARIN, 20010203, ASSIGNED}});
    tl_answer answer{};
    char* network = reinterpret_cast<char*>(1);
    EXPECT_EQ(tl_lookup("9.9.9.9", &answer, &network), 0);
    EXPECT_EQ(network, nullptr);
}

TEST_F(TarnelTest, NetworkTextNamesTheSmallestCoveringPrefix) {
    const uint32_t base = ip(10, 0, 0, 0);
    const std::pair<uint32_t, const char*> ladder[] = {
        {256, "10.0.0.0/24"}, {257, "10.0.0.0/23"},      {2, "10.0.0.0/31"},
        {3, "10.0.0.0/30"},   {1u << 28, "10.0.0.0/4"},  {(1u << 27) + 1, "10.0.0.0/4"},
        {1, nullptr},         {(1u << 28) + 1, nullptr}, {0, nullptr}};
    for (const auto& [size, expected] : ladder) {
        tl_range range{};
        darwin::writeLE<uint32_t>(range.bytes, 0, base);
        darwin::writeLE<uint32_t>(range.bytes, 4, base + size);
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

// tl_validate against the dotted-quad form the fuzzer checks on every text; what the
// unvalidated text search does with no text at all is checked here.
TEST_F(TarnelTest, TextSearchesTakeLeadingZerosAndRefuseNoText) {
    openWith(threeRanges);
    EXPECT_EQ(tl_validate("001.002.003.004"), 0);
    EXPECT_EQ(tl_validate("0001.2.3.4"), -1);
    EXPECT_EQ(tl_validate(nullptr), -1);
    tl_answer answer{};
    ASSERT_EQ(tl_lookup("001.000.000.009", &answer, nullptr), 0);
    EXPECT_EQ(answer.first, ip(1, 0, 0, 0));
    for (const char* nothing : {static_cast<const char*>(nullptr), ""}) {
        errno = 0;
        EXPECT_EQ(lookup_database2(nothing), nullptr);
        EXPECT_EQ(errno, EINVAL);
    }
    errno = 0;
    EXPECT_EQ(lookup_database2("1.0.0"), nullptr);
    EXPECT_EQ(errno, 0);
}

// Whether a file opens at all the fuzzer checks against the header's fit; these are
// the two files at the edge that do open.
TEST_F(TarnelTest, AHeaderAloneOrACutLastRecordStillOpens) {
    // A lone header byte announcing no registries is a file without records.
    openWith(QByteArray(1, '\0'));
    errno = 0;
    EXPECT_EQ(lookup_database(ip(1, 2, 3, 4)), nullptr);
    EXPECT_EQ(errno, ENOENT);
    uint8_t count = 9;
    EXPECT_EQ(tl_meta_registries(&count), 0);
    EXPECT_EQ(count, 0);
    tl_registry_info info{};
    EXPECT_EQ(tl_meta_registry_info(0, &info), -1);

    // A cut record at the end (first address 1.1.1.1) is not a record.
    QByteArray data = registryfile::bytes({{1, 20200101}}, threeRanges);
    data.append(QByteArray(23, '\x01'));
    openWith(data);
    EXPECT_EQ(tl_current_state().rangeCount, 3u);
    EXPECT_EQ(lookup_database(ip(1, 1, 1, 1)), nullptr);
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

// The /16 index only narrows where the search starts: over the shipped file it must
// return what the plain search over all records returns, at every record's edges,
// every /16 boundary and random addresses. (The fuzzer checks the same on files of
// its own making.)
TEST_F(TarnelTest, IndexedSearchAgreesOverTheShippedFile) {
    ASSERT_EQ(initAt(QStringLiteral(ORMEL_SOURCE_DIR "/resources/data/ccTLD.dat")), 0);
    const tl_state& state = tl_current_state();
    EXPECT_GT(state.rangeCount, 100000u);
    ASSERT_NE(state.index, nullptr);
    std::vector<uint32_t> probes;
    for (uint32_t i = 0; i < state.rangeCount; ++i) {
        const uint32_t first = tl_range_first(state.ranges + i);
        const uint32_t end = tl_range_end(state.ranges + i);
        probes.insert(probes.end(), {first, first - 1, end, end - 1, first + (end - first) / 2});
    }
    for (uint32_t slot = 0; slot < 65536; ++slot) {
        probes.insert(probes.end(), {slot << 16, (slot << 16) | 0xffffu});
    }
    std::mt19937 random(20261206);
    std::generate_n(std::back_inserter(probes), 1000000, random);
    for (uint32_t address : probes) {
        ASSERT_EQ(lookup_database(address), lookup_database_unindexed(address)) << address;
    }
}

} // namespace
