#include "update/NSDate_ExtensionsOfRFC.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTimeZone>

#include <charconv>

namespace {

struct Layout {
    const char* format; // QLocale's date-format letters, without the zone
    bool hasZone;       // a zone follows the time
    // Where a two-digit year stands (its one capture), or null: it is widened before
    // the text is read, since the weekday must match the century's date.
    const char* twoDigitYear;
};

// In order: RFC 1123, RFC 850, asctime, and asctime with the year before the time.
constexpr Layout layouts[] = {
    {"ddd, d MMM yyyy H:mm:ss", true, nullptr},
    {"dddd, d-MMM-yyyy H:mm:ss", true, R"(^\S+ \d{1,2}-\S+-(\d\d) )"},
    {"ddd MMM d H:mm:ss yyyy", false, R"( (\d\d)$)"},
    {"ddd MMM d yyyy H:mm:ss", true, R"(^\S+ \S+ \d{1,2} (\d\d) )"},
};

std::optional<int> digitsValue(QStringView digits) {
    const QByteArray bytes = digits.toLatin1();
    int value = 0;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
    if (error != std::errc() || end != bytes.data() + bytes.size() || bytes.isEmpty()) {
        return std::nullopt;
    }
    return value;
}

// Seconds east of UTC of a zone token: GMT, UT, UTC, Z, the US zones of RFC 822, or a
// numeric offset (+hhmm, -hh:mm), optionally after "GMT".
std::optional<int> zoneOffset(QString zone) {
    static const QList<std::pair<QString, int>> names = {
        {"GMT", 0},       {"UT", 0},        {"UTC", 0},       {"Z", 0},
        {"EST", -5 * 60}, {"EDT", -4 * 60}, {"CST", -6 * 60}, {"CDT", -5 * 60},
        {"MST", -7 * 60}, {"MDT", -6 * 60}, {"PST", -8 * 60}, {"PDT", -7 * 60}};
    for (const auto& [name, minutes] : names) {
        if (zone.compare(name, Qt::CaseInsensitive) == 0) {
            return minutes * 60;
        }
    }
    if (zone.startsWith(QLatin1String("GMT"), Qt::CaseInsensitive) ||
        zone.startsWith(QLatin1String("UTC"), Qt::CaseInsensitive)) {
        zone = zone.mid(3);
    }
    zone.remove(QLatin1Char(':'));
    if (zone.size() != 5 || (zone[0] != '+' && zone[0] != '-')) {
        return std::nullopt;
    }
    const auto hours = digitsValue(QStringView(zone).mid(1, 2));
    const auto minutes = digitsValue(QStringView(zone).mid(3, 2));
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    const int seconds = (*hours * 60 + *minutes) * 60;
    return zone[0] == '-' ? -seconds : seconds;
}

// A two-digit year is 20yy below 70, else 19yy, as mail and cookie dates are read.
QString widenedYear(const QString& text, const char* pattern) {
    const QRegularExpressionMatch match =
        QRegularExpression(QString::fromLatin1(pattern)).match(text);
    if (!match.hasMatch()) {
        return text;
    }
    const auto year = digitsValue(match.capturedView(1));
    QString widened = text;
    widened.insert(match.capturedStart(1), QLatin1String(year && *year < 70 ? "20" : "19"));
    return widened;
}

std::optional<QDateTime> readLayout(const QString& text, const Layout& layout) {
    QString body = text;
    int offset = 0;
    if (layout.hasZone) {
        const qsizetype space = text.lastIndexOf(QLatin1Char(' '));
        if (space < 0) {
            return std::nullopt;
        }
        const auto zone = zoneOffset(text.mid(space + 1));
        if (!zone) {
            return std::nullopt;
        }
        offset = *zone;
        body = text.left(space);
    }
    if (layout.twoDigitYear != nullptr) {
        body = widenedYear(body, layout.twoDigitYear);
    }
    QDateTime date = QLocale::c().toDateTime(body, QString::fromLatin1(layout.format));
    if (!date.isValid()) {
        return std::nullopt;
    }
    date.setTimeZone(QTimeZone(offset));
    return date.toUTC();
}

} // namespace

std::optional<QDateTime> dateWithRFCString(const QString& text) {
    const QString simplified = text.simplified();
    for (const Layout& layout : layouts) {
        const auto date = readLayout(simplified, layout);
        if (date && date->toSecsSinceEpoch() > 0) {
            return date;
        }
    }
    return std::nullopt;
}
