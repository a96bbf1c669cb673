#include "common/NumberText.h"

#include "common/AppState.h"
#include "platform/ui/NumberFormatter.h"

namespace {

ui::NumberFormatter sharedFormatter(const AppState* appCon) {
    if (appCon != nullptr && appCon->numFormat() != nullptr) {
        return *appCon->numFormat();
    }
    ui::NumberFormatter decimal;
    decimal.setNumberStyle(ui::NumberFormatterStyle::Decimal);
    return decimal;
}

} // namespace

QString numberText(const AppState* appCon, int64_t number) {
    return sharedFormatter(appCon).stringFromNumber(number);
}

QString numberText(const AppState* appCon, uint64_t number) {
    return sharedFormatter(appCon).stringFromNumber(number);
}

QString numberText(const AppState* appCon, double number) {
    return sharedFormatter(appCon).stringFromNumber(number);
}

QString numberText(const AppState* appCon, double number, int fractionDigits) {
    ui::NumberFormatter fixed = sharedFormatter(appCon);
    fixed.setMinimumFractionDigits(fractionDigits);
    fixed.setMaximumFractionDigits(fractionDigits);
    return fixed.stringFromNumber(number);
}
