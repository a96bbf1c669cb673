#include "common/ElapsedTimeText.h"

namespace {

const char* plural(long long count) {
    return count == 1 ? "" : "s";
}

} // namespace

QString ElapsedTimeText::fromSeconds(long long t, HoursPadding padding) {
    if (t > 60) {
        t += 30; // to the nearest minute for everything longer than a minute
    }
    const long long days = t / 86400;
    long long rest = t % 86400;
    const long long hours = rest / 3600;
    rest %= 3600;
    const long long minutes = rest / 60;
    const long long seconds = rest % 60;

    QString text;
    if (days > 0) {
        text += QString::asprintf("%lld day%s, ", days, plural(days));
    }
    if (hours > 0 && minutes > 0) {
        const char* hoursField = padding == HoursPadding::Zero ? "%02lld" : "%2lld";
        text += QString::asprintf(hoursField, hours);
        text += seconds > 0 ? QString::asprintf(":%02lld:%02lld", minutes, seconds)
                            : QString::asprintf(":%02lld", minutes);
        return text;
    }
    if (hours > 0) {
        text += QString::asprintf("%lld hour%s, ", hours, plural(hours));
    }
    if (minutes > 0) {
        text += QString::asprintf("%lld min%s, ", minutes, plural(minutes));
    }
    if (seconds > 0) {
        text += QString::asprintf("%lld sec%s", seconds, plural(seconds));
    }
    return text;
}
