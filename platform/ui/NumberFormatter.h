#pragma once

#include <QLocale>
#include <QString>

#include <algorithm>
#include <cstdint>

namespace ui {

enum class NumberFormatterStyle { NoStyle = 0, Decimal = 1 };

// Turns numbers into display text in the user's locale. The decimal style groups
// thousands ("1,234,567" in English, "1.234.567" in German, "١٬٢٣٤٬٥٦٧" in Egyptian
// Arabic) and writes fractions with the locale's decimal separator and digits; no style
// prints the bare number. Fractions show at least the minimum and at most the maximum
// of fraction digits (0 and 3 unless set): trailing zeros beyond the minimum are dropped.
class NumberFormatter {
public:
    NumberFormatter() = default;
    explicit NumberFormatter(const QLocale& locale) : locale(locale) {}

    void setNumberStyle(NumberFormatterStyle style) { numberStyle = style; }
    NumberFormatterStyle getNumberStyle() const { return numberStyle; }
    void setMinimumFractionDigits(int digits) { minimumFractionDigits = std::max(digits, 0); }
    int getMinimumFractionDigits() const { return minimumFractionDigits; }
    void setMaximumFractionDigits(int digits) { maximumFractionDigits = std::max(digits, 0); }
    int getMaximumFractionDigits() const { return maximumFractionDigits; }

    QString stringFromNumber(int64_t value) const;
    QString stringFromNumber(uint64_t value) const;
    QString stringFromNumber(int value) const { return stringFromNumber(int64_t{value}); }
    QString stringFromNumber(unsigned value) const { return stringFromNumber(uint64_t{value}); }
    QString stringFromNumber(double value) const;

private:
    QLocale localeForStyle() const;

    QLocale locale;
    NumberFormatterStyle numberStyle = NumberFormatterStyle::NoStyle;
    int minimumFractionDigits = 0;
    int maximumFractionDigits = 3;
};

} // namespace ui
