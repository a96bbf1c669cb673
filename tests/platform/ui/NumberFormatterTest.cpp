#include "platform/ui/NumberFormatter.h"

#include <gtest/gtest.h>

namespace {

ui::NumberFormatter decimal(QLocale::Language language, QLocale::Territory territory) {
    ui::NumberFormatter formatter{QLocale(language, territory)};
    formatter.setNumberStyle(ui::NumberFormatterStyle::Decimal);
    return formatter;
}

TEST(NumberFormatter, DecimalStyleGroupsThousandsInTheLocaleWithAtMostThreeFractionDigits) {
    const auto english = decimal(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(english.stringFromNumber(int64_t{1234567}), "1,234,567");
    EXPECT_EQ(english.stringFromNumber(int64_t{-1000}), "-1,000");
    EXPECT_EQ(english.stringFromNumber(999), "999");
    EXPECT_EQ(english.stringFromNumber(uint64_t{18446744073709551615u}),
              "18,446,744,073,709,551,615");
    EXPECT_EQ(english.stringFromNumber(2.0), "2");
    EXPECT_EQ(english.stringFromNumber(0.1234), "0.123");
    EXPECT_EQ(english.stringFromNumber(1234.5678), "1,234.568");
    const auto german = decimal(QLocale::German, QLocale::Germany);
    EXPECT_EQ(german.stringFromNumber(int64_t{1234567}), "1.234.567");
    EXPECT_EQ(german.stringFromNumber(1234.5), "1.234,5");
    ui::NumberFormatter plain{QLocale(QLocale::German, QLocale::Germany)};
    EXPECT_EQ(plain.stringFromNumber(int64_t{1234567}), "1234567") << "no style: the bare number";
}

} // namespace
