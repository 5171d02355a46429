// The network clock: Beijing time read from a public web time page, never from the local clock.
//
// The page's body carries "window.baidu_time(" followed at once by 13 decimal digits, the
// milliseconds since 1970-01-01 00:00:00 UTC. Reading the page is split from fetching it, so the
// reading is a pure function of the body's bytes.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/http.h"
#include "platform/text.h"

namespace quivella {

// A date and time as days since 1899-12-30 00:00; the fraction is the time of day.
using DateTime = double;

// 1970-01-01 08:00:00, the Unix epoch on the UTC+8 clock: the double nearest to 25569 + 1/3.
inline constexpr DateTime BeijingEpoch = 25569.333333333332;

// The web time page: plain HTTP on port 80.
inline constexpr std::string_view TimePageUrl = "http://open.baidu.com/special/time/";

// The text that stands right before the digits in the page.
inline constexpr std::string_view TimeMarker = "window.baidu_time(";

// The number of bytes after the marker that are read as the number of milliseconds.
inline constexpr std::size_t TimeDigitCount = 13;

// Returns the Beijing time that a body of the time page tells.
//
// The page ends at the first NUL byte. The number is read from the 13 bytes after the first
// marker (found stepping over two-byte characters), or from bytes 17 to 29 (1-based) when there
// is no marker: white space and full-width forms allowed, optional sign, digits, fraction and
// exponent, reading stops where the number stops, no number reads as 0. The whole seconds of that
// many milliseconds (truncated toward zero) are added to BeijingEpoch. A number that is not finite
// or stands for an instant outside the years 1 to 9999 counts as no number.
DateTime NetworkTimeFromPage(std::string_view body);

// Fetches the time page at url and returns the Beijing time it tells; BeijingEpoch when the page
// cannot be had.
DateTime FetchNetworkTime(std::string_view url = TimePageUrl, const HttpLimits& limits = {});

// A DateTime split into its calendar date and time of day.
struct CivilTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Splits t after rounding it to the nearest second: half a second (1/172800 day) is added before
// the time of day is taken apart, so that BeijingEpoch reads as 08:00:00, not 07:59:59.
CivilTime SplitDateTime(DateTime t);

// Returns the hour of day (0 to 23) of t, rounded to the nearest second as SplitDateTime does.
int HourOfDay(DateTime t);

}  // namespace quivella
