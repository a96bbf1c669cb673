#include "platform/ui/NumberFormatter.h"

#include <cmath>

namespace ui {

namespace {

// Drops up to `count` trailing zeros of the fraction (in the locale's digits), and the
// decimal separator when no fraction digit is left.
QString withoutTrailingZeros(QString text, const QLocale& locale, int count) {
    const QString point = locale.decimalPoint();
    const QString zero = locale.zeroDigit();
    if (!text.contains(point)) {
        return text;
    }
    for (; count > 0 && text.endsWith(zero); --count) {
        text.chop(zero.size());
    }
    if (text.endsWith(point)) {
        text.chop(point.size());
    }
    return text;
}

} // namespace

QLocale NumberFormatter::localeForStyle() const {
    QLocale styled = locale;
    if (numberStyle == NumberFormatterStyle::Decimal) {
        styled.setNumberOptions(QLocale::DefaultNumberOptions);
    } else {
        styled = QLocale::c();
        styled.setNumberOptions(QLocale::OmitGroupSeparator);
    }
    return styled;
}

QString NumberFormatter::stringFromNumber(int64_t value) const {
    return localeForStyle().toString(static_cast<qlonglong>(value));
}

QString NumberFormatter::stringFromNumber(uint64_t value) const {
    return localeForStyle().toString(static_cast<qulonglong>(value));
}

QString NumberFormatter::stringFromNumber(double value) const {
    const QLocale styled = localeForStyle();
    if (!std::isfinite(value)) {
        return styled.toString(value);
    }
    // Round to the most fraction digits shown, then drop the zeros beyond the least.
    const int most = std::max(maximumFractionDigits, minimumFractionDigits);
    return withoutTrailingZeros(styled.toString(value, 'f', most), styled,
                                most - minimumFractionDigits);
}

} // namespace ui
