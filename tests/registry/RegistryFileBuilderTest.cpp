#include "registry/RegistryFileBuilder.h"

#include "registry/tarnel.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace registryfile;
using Source = RegistryFileBuilder::Source;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

uint32_t countryRow(const char* code) {
    for (uint32_t row = 0; row < TL_TLD_ROWS; ++row) {
        if (std::strcmp(tldTable[row].code, code) == 0) {
            return row;
        }
    }
    return 0;
}

Registry registryOf(const QByteArray& file, uint32_t row) {
    const size_t at = 1 + 12 * (row - 1);
    return {darwin::readLE<int32_t>(file.data(), at + 4),
            darwin::readLE<uint32_t>(file.data(), at + 8)};
}

// The ranges of a built file outside the special-purpose blocks.
std::vector<Range> rirRangesOf(const QByteArray& file) {
    std::vector<Range> ranges;
    for (qsizetype at = 1 + 12 * 5; at + 24 <= file.size(); at += 24) {
        uint32_t f[6];
        for (int i = 0; i < 6; ++i) {
            f[i] = darwin::readLE<uint32_t>(file.data(), static_cast<size_t>(at + 4 * i));
        }
        if (f[3] != 0) {
            ranges.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
        }
    }
    return ranges;
}

QByteArray arinFile(const char* serial, const QByteArray& records, int count) {
    return "# comment\n2|arin|" + QByteArray(serial) + "|" + QByteArray::number(count) +
           "|19700101|" + QByteArray(serial) + "|-0500\narin|*|ipv4|*|" +
           QByteArray::number(count) + "|summary\n" + records;
}

// The shipped file is what the converter makes of the five registries' files it was
// built from, whatever order they are given in.
TEST(RegistryFileBuilder, GivesTheShippedFileFromItsSources) {
    std::vector<Source> sources;
    const QDir dir(QStringLiteral(ORMEL_FIXTURES_DIR "/rir"));
    for (const QString& name : dir.entryList({QStringLiteral("delegated-*")}, QDir::Files)) {
        sources.push_back({name, readAll(dir.filePath(name))});
    }
    ASSERT_EQ(sources.size(), 5u);
    std::reverse(sources.begin(), sources.end());
    QString error;
    const auto built = RegistryFileBuilder::build(sources, &error);
    ASSERT_TRUE(built) << error.toStdString();
    const QByteArray shipped =
        readAll(QStringLiteral(ORMEL_SOURCE_DIR "/resources/data/ccTLD.dat"));
    ASSERT_EQ(built->size(), shipped.size());
    EXPECT_TRUE(*built == shipped) << "the built file differs from resources/data/ccTLD.dat";
}

// Each is refused with its name and why; a good file beside it does not make the
// build write a partial file.
TEST(RegistryFileBuilder, RefusesSourcesThatAreNoStatisticsFiles) {
    const QByteArray good =
        arinFile("20130813", "arin|US|ipv4|3.0.0.0|256|19940101|allocated\n", 1);
    const std::pair<QByteArray, const char*> bad[] = {
        {"arin|US|ipv4|3.0.0.0|256|19940101|allocated\n", "no version line"},
        {"2|arin|20130813|1|19700101|20130813|-0500\n\x7f"
         "ELF\x02\x01 binary garbage\n",
         "line 2 has 1 fields"},
        {"<!DOCTYPE html>\n<html><body><h1>404 Not Found</h1></body></html>\n", "no version line"},
        {good.left(good.size() - 12), "line 4 has 6 fields"},
        {arinFile("20130813", "arin|US|ipv4|3.0.0.0|256|19940101|allocated\n", 2),
         "1 records where the version line announces 2"},
        {arinFile("20130813", "arin|US|asn|701|1|19900801|allocated\n", 1), "no ipv4 records"},
        {"2|foonic|20130813|0|19700101|20130813|+0000\n", "unknown registry \"foonic\""},
        {arinFile("20130813", "arin|US|ipv4|3.0.0|256|19940101|allocated\n", 1),
         "has no address range"},
        {arinFile("20130813", "arin|US|ipv4|3.0.0.0|256|19940101|alloc\n", 1),
         "has an unknown status"},
    };
    for (const auto& [contents, why] : bad) {
        QString error;
        const auto built =
            RegistryFileBuilder::build({{QStringLiteral("delegated-arin-good"), good},
                                        {QStringLiteral("https://x/delegated-bad"), contents}},
                                       &error);
        EXPECT_FALSE(built) << why;
        EXPECT_TRUE(error.startsWith(QStringLiteral("https://x/delegated-bad: ")))
            << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(why))) << error.toStdString() << " / " << why;
    }
    QString error;
    EXPECT_FALSE(RegistryFileBuilder::build({}, &error));
    EXPECT_FALSE(error.isEmpty());
}

// Two files of one registry: the newer fills the registry's record and wins where their
// ranges overlap, cutting the older range in two; a special-purpose block wins over both.
TEST(RegistryFileBuilder, NewestFileOfARegistryWins) {
    const QByteArray older = arinFile("20100101",
                                      "arin|US|ipv4|8.0.0.0|1024|19921201|allocated\n"
                                      "arin|CW|ipv4|9.255.255.0|512|00000000|assigned\n"
                                      "arin|US|ipv4|12.0.0.0|256|19921201|reserved\n",
                                      3);
    const QByteArray newer =
        arinFile("20130813", "arin|CA|ipv4|8.0.1.0|256|20120505|assigned\n", 1);
    for (const bool swapped : {false, true}) {
        std::vector<Source> sources = {{"delegated-arin-20100101", older},
                                       {"delegated-arin-20130813", newer}};
        if (swapped) {
            std::swap(sources[0], sources[1]);
        }
        QString error;
        const auto built = RegistryFileBuilder::build(sources, &error);
        ASSERT_TRUE(built) << error.toStdString();
        EXPECT_EQ(registryOf(*built, ARIN).count, 1);
        EXPECT_EQ(registryOf(*built, ARIN).date, 20130813u);
        EXPECT_EQ(registryOf(*built, APNIC).date, 0u);
        const uint32_t CA = countryRow("CA"), AN = countryRow("AN");
        const std::vector<Range> expected = {
            {ip(8, 0, 0, 0), ip(8, 0, 1, 0), US, ARIN, 19921201, ALLOCATED},
            {ip(8, 0, 1, 0), ip(8, 0, 2, 0), CA, ARIN, 20120505, ASSIGNED},
            {ip(8, 0, 2, 0), ip(8, 0, 4, 0), US, ARIN, 19921201, ALLOCATED},
            {ip(9, 255, 255, 0), ip(10, 0, 0, 0), AN, ARIN, 0, ASSIGNED},
        };
        EXPECT_TRUE(rirRangesOf(*built) == expected);
    }
}

} // namespace
