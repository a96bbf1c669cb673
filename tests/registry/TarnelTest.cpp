#include "registry/tarnel.h"

#include "support/TestEnvironment.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
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

bool sameRefusal(const tl_refusal& a, const tl_refusal& b) {
    return a.reason == b.reason && a.error == b.error && a.fileType == b.fileType;
}

TEST_F(TarnelTest, RefusesWhatIsNoWholeOrderedRegularFileAndSaysWhy) {
    ASSERT_TRUE(registryfile::write(path_, registryfile::bytes({}, threeRanges)));
    const QString link = dir_ + "/link.dat";
    ASSERT_EQ(::symlink(path_.toUtf8().constData(), link.toUtf8().constData()), 0);
    const QString fifo = dir_ + "/fifo.dat";
    ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
    const QString huge = dir_ + "/huge.dat";
    ASSERT_TRUE(QFile(huge).open(QIODevice::WriteOnly));
    ASSERT_EQ(::truncate(huge.toUtf8().constData(), off_t{TL_MAX_FILE_SIZE} + 1), 0); // sparse
    const std::vector<std::pair<QByteArray, QString>> contents = {
        {QByteArray(), "empty.dat"},
        {registryfile::bytes({{1, 20240101}}, {}).left(8), "cut.dat"},
        {registryfile::bytes({}, {threeRanges[2], threeRanges[0]}), "unsorted.dat"}};
    for (const auto& [data, name] : contents) {
        ASSERT_TRUE(registryfile::write(dir_ + "/" + name, data));
    }
    const std::pair<QString, tl_refusal> refused[] = {
        {link, {TL_NOT_REGULAR, 0, S_IFLNK}},
        {dir_, {TL_NOT_REGULAR, 0, S_IFDIR}},
        {fifo, {TL_NOT_REGULAR, 0, S_IFIFO}}, // returns at once instead of waiting for a writer
        {dir_ + "/missing.dat", {TL_CANNOT_READ, ENOENT, 0}},
        {huge, {TL_TOO_LARGE, 0, 0}},
        {dir_ + "/empty.dat", {TL_TOO_SHORT, 0, 0}},
        {dir_ + "/cut.dat", {TL_TOO_SHORT, 0, 0}},
        {dir_ + "/unsorted.dat", {TL_OUT_OF_ORDER, 0, 0}},
        // The kernel gives its files the size 0 and reads text from them: the read
        // never agrees with the size.
        {"/proc/self/stat", {TL_CHANGED_WHILE_READ, 0, 0}}};
    for (const auto& [path, why] : refused) {
        ASSERT_EQ(initAt(path_), 0);
        errno = 0;
        EXPECT_EQ(initAt(path), -1) << qPrintable(path);
        EXPECT_NE(errno, 0) << qPrintable(path);
        EXPECT_TRUE(sameRefusal(tl_last_refusal(), why))
            << qPrintable(path) << ": reason " << tl_last_refusal().reason;
        EXPECT_EQ(tl_current_state().base, nullptr) << qPrintable(path); // the module is closed
        EXPECT_EQ(lookup_database(ip(3, 0, 0, 1)), nullptr) << qPrintable(path);
    }
    EXPECT_EQ(initAt(path_), 0);
    EXPECT_EQ(tl_last_refusal().reason, TL_OPENED);
    EXPECT_EQ(tl_current_state().descriptor, -1); // read and closed again
}

// A new copy is checked before it replaces the one in use: checking, whether the
// file passes or not, leaves the open registry and its generation as they were.
TEST_F(TarnelTest, CheckingAFileLeavesTheOpenOneInPlace) {
    openWith(threeRanges);
    const uint64_t generation = tl_current_state().generation;
    const QString other = dir_ + "/other.dat";
    ASSERT_TRUE(registryfile::write(other, registryfile::bytes({{1, 20240101}}, {threeRanges[2]})));
    uint32_t ranges = 0;
    EXPECT_EQ(tl_check(QFile::encodeName(other).constData(), &ranges), 0);
    EXPECT_EQ(ranges, 1u);
    ASSERT_TRUE(
        registryfile::write(other, registryfile::bytes({}, {threeRanges[2], threeRanges[0]})));
    EXPECT_EQ(tl_check(QFile::encodeName(other).constData(), &ranges), -1);
    EXPECT_EQ(tl_last_refusal().reason, TL_OUT_OF_ORDER);
    EXPECT_EQ(tl_current_state().generation, generation);
    EXPECT_EQ(tl_current_state().rangeCount, 3u);
    EXPECT_EQ(firstOf(lookup_database(ip(1, 0, 2, 0))), ip(1, 0, 1, 0));
}

// 4096 ranges of 256 addresses from 20.0.0.0: 96 KiB, many pages.
std::vector<Range> manyRanges(uint32_t country) {
    std::vector<Range> ranges;
    for (uint32_t i = 0; i < 4096; ++i) {
        const uint32_t first = ip(20, 0, 0, 0) + 256 * i;
        ranges.push_back({first, first + 256, country, APNIC, 20050315, ALLOCATED});
    }
    return ranges;
}

// Writes over the file as cp does: the same file cut to nothing, then the new bytes.
bool writeOverInPlace(const QString& path, const QByteArray& data) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC);
    const bool written =
        fd >= 0 && ::write(fd, data.constData(), static_cast<size_t>(data.size())) ==
                       static_cast<ssize_t>(data.size());
    return ::close(fd) == 0 && written;
}

// A lookup in the last range, far past the short file's end; exits 0 when the old
// file's answer still comes.
void lookUpAfterTheFileWasWrittenOver(const QString& path) {
    if (tl_init(QFile::encodeName(path).constData()) != 0 ||
        !writeOverInPlace(path, registryfile::bytes({}, {threeRanges[0]}))) {
        std::_Exit(2);
    }
    tl_answer answer{};
    const bool found = tl_lookup("20.0.255.7", &answer, nullptr) == 0;
    std::_Exit(found && answer.country == &tldTable[JP] && answer.first == ip(20, 0, 255, 0) ? 0
                                                                                             : 1);
}

TEST_F(TarnelTest, AFileWrittenOverInPlaceLeavesTheOpenRegistryAsItWas) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_TRUE(registryfile::write(path_, registryfile::bytes({}, manyRanges(JP))));
    // A registry that searched the file in place would be killed by SIGBUS here, or
    // answer from the new bytes.
    EXPECT_EXIT(lookUpAfterTheFileWasWrittenOver(path_), ::testing::ExitedWithCode(0), "");
}

TEST_F(TarnelTest, EveryOpenAndCloseStartsAnotherGeneration) {
    openWith(threeRanges);
    const uint64_t first = tl_read_begin();
    EXPECT_EQ(firstOf(lookup_database(ip(3, 0, 0, 1))), ip(3, 0, 0, 0));
    tl_read_end();
    ASSERT_EQ(initAt(path_), 0);
    const uint64_t second = tl_current_state().generation;
    tl_finish();
    EXPECT_NE(first, second);
    EXPECT_NE(second, tl_current_state().generation);
}

// Texts near the dotted-quad form: addresses with up to four digits an octet and
// leading zeros, mutated by a character put in, taken out or changed.
std::vector<std::string> nearAddresses() {
    std::mt19937 random(20240613u);
    const std::string alphabet = "0123456789.. -+x\t\n\r";
    const auto octet = [&] {
        const int digits = 1 + static_cast<int>(random() % 4);
        std::string text;
        for (int i = 0; i < digits; ++i) {
            text += static_cast<char>('0' + random() % (i == 0 ? 4 : 10));
        }
        return text;
    };
    std::vector<std::string> texts = {"", ".", "...", "1.2.3", "1.2.3.4.", ".1.2.3.4", "1..2.3"};
    for (int i = 0; i < 200000; ++i) {
        const int parts = 3 + static_cast<int>(random() % 3);
        std::string text = octet();
        for (int part = 1; part < parts; ++part) {
            text += "." + octet();
        }
        const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
        const char c = alphabet[random() % alphabet.size()];
        switch (random() % 4) {
        case 0:
            text.insert(at, 1, c);
            break;
        case 1:
            text.erase(std::min(at, text.size() - 1), 1);
            break;
        case 2:
            text[std::min(at, text.size() - 1)] = c;
            break;
        default:
            break;
        }
        texts.push_back(text);
    }
    return texts;
}

TEST_F(TarnelTest, TheParserTakesExactlyTheTextsTheValidationPatternTakes) {
    openWith(threeRanges);
    int accepted = 0;
    for (const std::string& text : nearAddresses()) {
        uint32_t address = 0;
        const bool parsed = tl_parse_address(text.data(), text.size(), &address) == 0;
        ASSERT_EQ(parsed, tl_validate(text.c_str()) == 0) << '"' << text << '"';
        if (parsed) {
            ASSERT_EQ(lookup_database(address), lookup_database2(text.c_str())) << text;
            ++accepted;
        }
    }
    EXPECT_GT(accepted, 5000); // the set holds both kinds in numbers
    uint32_t address = 0;
    // Only `length` bytes count: no terminating NUL is needed, and a NUL is no digit.
    EXPECT_EQ(tl_parse_address("1.2.3.45", 7, &address), 0);
    EXPECT_EQ(address, ip(1, 2, 3, 4));
    EXPECT_EQ(tl_parse_address("1.2.3.4", 5, &address), -1);
    EXPECT_EQ(tl_parse_address("1.2.3.4\0", 8, &address), -1);
    EXPECT_EQ(tl_parse_address("000.009.255.01", 14, &address), 0);
    EXPECT_EQ(address, ip(0, 9, 255, 1));
}

} // namespace
