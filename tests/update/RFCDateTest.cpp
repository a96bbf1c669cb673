#include "support/ScopedLocale.h"
#include "update/NSDate_ExtensionsOfRFC.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc());
}

// HTTP dates are English whatever the user reads: under a German locale "Sun" and
// "Nov" are still read.
TEST(RFCDate, ReadsTheFourLayoutsUnderAnotherLocale) {
    const testenv::ScopedLocale german(QLocale::German, QLocale::Germany);
    const QDateTime expected = utc(1994, 11, 6, 8, 49, 37);
    EXPECT_EQ(dateWithRFCString("Sun, 06 Nov 1994 08:49:37 GMT"), expected);
    EXPECT_EQ(dateWithRFCString("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
    EXPECT_EQ(dateWithRFCString("Sun Nov  6 08:49:37 1994"), expected);
    EXPECT_EQ(dateWithRFCString("Sun Nov 6 1994 08:49:37 GMT"), expected);
}

TEST(RFCDate, AppliesTheZoneAndReadsTwoDigitYearsAfter1970) {
    EXPECT_EQ(dateWithRFCString("Mon, 07 Dec 2026 09:00:00 +0200"), utc(2026, 12, 7, 7, 0, 0));
    EXPECT_EQ(dateWithRFCString("Mon, 07 Dec 2026 02:00:00 EST"), utc(2026, 12, 7, 7, 0, 0));
    EXPECT_EQ(dateWithRFCString("Monday, 07-Dec-26 07:00:00 GMT"), utc(2026, 12, 7, 7, 0, 0));
}

TEST(RFCDate, RefusesOtherTextsAndDatesUpTo1970) {
    for (const char* text :
         {"", "yesterday", "Thu, 01 Jan 1970 00:00:00 GMT", "Wed, 31 Dec 1969 23:00:00 GMT",
          "Sun, 06 Nov 1994 08:49:37 Mars", "Son, 06 Nov 1994 08:49:37 GMT",
          "Sun, 06 Nov 1994 25:49:37 GMT", "2026-12-07T07:00:00Z"}) {
        EXPECT_FALSE(dateWithRFCString(QString::fromLatin1(text)).has_value()) << text;
    }
    EXPECT_EQ(dateWithRFCString("Thu, 01 Jan 1970 00:00:01 GMT"), utc(1970, 1, 1, 0, 0, 1));
}

} // namespace
