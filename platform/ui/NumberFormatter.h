#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

namespace ui {

enum class NumberFormatterStyle { NoStyle = 0, Decimal = 1 };

// Turns numbers into display text in the user's locale. The decimal style groups
// thousands ("1,234,567" in English, "1.234.567" in German) and shows at most three
// fraction digits; no style prints the bare number.
class NumberFormatter {
public:
    NumberFormatter() = default;
    explicit NumberFormatter(const QLocale& locale) : locale(locale) {}

    void setNumberStyle(NumberFormatterStyle style) { numberStyle = style; }
    NumberFormatterStyle getNumberStyle() const { return numberStyle; }

    QString stringFromNumber(int64_t value) const;
    QString stringFromNumber(uint64_t value) const;
    QString stringFromNumber(int value) const { return stringFromNumber(int64_t{value}); }
    QString stringFromNumber(unsigned value) const { return stringFromNumber(uint64_t{value}); }
    QString stringFromNumber(double value) const;

private:
    QLocale localeForStyle() const;

    QLocale locale;
    NumberFormatterStyle numberStyle = NumberFormatterStyle::NoStyle;
};

} // namespace ui
