#include "memdisk/NumberText.h"

#include "app/AppController.h"
#include "platform/ui/NumberFormatter.h"

namespace {

template <class Number> QString format(const AppController* appCon, Number number) {
    if (appCon != nullptr && appCon->numFormat() != nullptr) {
        return appCon->numFormat()->stringFromNumber(number);
    }
    ui::NumberFormatter decimal;
    decimal.setNumberStyle(ui::NumberFormatterStyle::Decimal);
    return decimal.stringFromNumber(number);
}

} // namespace

QString numberText(const AppController* appCon, int64_t number) {
    return format(appCon, number);
}

QString numberText(const AppController* appCon, uint64_t number) {
    return format(appCon, number);
}
