#include "common/NumberText.h"

#include "common/AppState.h"
#include "platform/ui/NumberFormatter.h"

namespace {

template <class Number> QString format(const AppState* appCon, Number number) {
    if (appCon != nullptr && appCon->numFormat() != nullptr) {
        return appCon->numFormat()->stringFromNumber(number);
    }
    ui::NumberFormatter decimal;
    decimal.setNumberStyle(ui::NumberFormatterStyle::Decimal);
    return decimal.stringFromNumber(number);
}

} // namespace

QString numberText(const AppState* appCon, int64_t number) {
    return format(appCon, number);
}

QString numberText(const AppState* appCon, uint64_t number) {
    return format(appCon, number);
}
