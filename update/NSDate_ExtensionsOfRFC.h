#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The date of an HTTP date header ("Last-Modified"), read in the first of four
// layouts that gives a date after 1970-01-01 00:00:00 UTC:
//   "Sun, 6 Nov 1994 08:49:37 GMT"      (RFC 1123)
//   "Sunday, 06-Nov-94 08:49:37 GMT"    (RFC 850)
//   "Sun Nov 6 08:49:37 1994"           (asctime, UTC)
//   "Sun Nov 6 1994 08:49:37 GMT"
// Names are English whatever the user's locale. No value for any other text.
std::optional<QDateTime> dateWithRFCString(const QString& text);
