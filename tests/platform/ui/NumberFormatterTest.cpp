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
    EXPECT_EQ(english.stringFromNumber(uint64_t{18446744073709551615u}),
              "18,446,744,073,709,551,615");
    EXPECT_EQ(english.stringFromNumber(2.0), "2");
    EXPECT_EQ(english.stringFromNumber(1234.5678), "1,234.568");
    const auto german = decimal(QLocale::German, QLocale::Germany);
    EXPECT_EQ(german.stringFromNumber(1234.5), "1.234,5");
    ui::NumberFormatter plain{QLocale(QLocale::German, QLocale::Germany)};
    EXPECT_EQ(plain.stringFromNumber(int64_t{1234567}), "1234567") << "no style: the bare number";
}

// Fractions in the locale's decimal separator and digits, trailing zeros dropped down to
// the least number of fraction digits asked for.
TEST(NumberFormatter, FractionDigitsBetweenTheLeastAndTheMostInTheLocalesDigits) {
    auto english = decimal(QLocale::English, QLocale::UnitedStates);
    auto german = decimal(QLocale::German, QLocale::Germany);
    auto arabic = decimal(QLocale::Arabic, QLocale::Egypt);
    EXPECT_EQ(arabic.stringFromNumber(1234.5), "١٬٢٣٤٫٥") << "Arabic-Indic zeros dropped";
    for (ui::NumberFormatter* formatter : {&english, &german, &arabic}) {
        formatter->setMinimumFractionDigits(2);
        formatter->setMaximumFractionDigits(2);
    }
    EXPECT_EQ(english.stringFromNumber(1234.567), "1,234.57");
    EXPECT_EQ(german.stringFromNumber(1234.0), "1.234,00");
    EXPECT_EQ(arabic.stringFromNumber(0.52), "٠٫٥٢");
    english.setMinimumFractionDigits(1);
    english.setMaximumFractionDigits(3);
    EXPECT_EQ(english.stringFromNumber(2.0), "2.0");
    EXPECT_EQ(english.stringFromNumber(2.25), "2.25");
}

} // namespace
