#include "platform/ui/NumberFormatter.h"

#include <cmath>

namespace ui {

namespace {
constexpr int kMaximumFractionDigits = 3;
}

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
    if (!std::isfinite(value)) {
        return localeForStyle().toString(value);
    }
    // Round to the fraction digits shown, then drop trailing zeros.
    QString text = localeForStyle().toString(value, 'f', kMaximumFractionDigits);
    const QChar point = localeForStyle().decimalPoint().at(0);
    if (text.contains(point)) {
        while (text.endsWith('0')) {
            text.chop(1);
        }
        if (text.endsWith(point)) {
            text.chop(1);
        }
    }
    return text;
}

} // namespace ui
