// Reading Beijing time from the web time page.
#include "banks/network_clock.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "platform/cp936.h"

namespace quivella {
namespace {

// Where the digits are taken from (0-based) when the page has no marker: bytes 17 to 29.
constexpr std::size_t kFieldStartWithoutMarker = 16;

// The range of instants the clock accepts, as seconds since 1970-01-01 00:00:00 UTC: Beijing
// 0001-01-01 00:00:00 to 9999-12-31 23:59:59, the dates a four-digit year can show. Seconds are
// held in 64 bits, so instants after 2038-01-19 03:14:07 UTC come out right.
constexpr std::int64_t kBeijingOffsetSeconds = 8 * 3600;
constexpr std::int64_t kMinSeconds = -62135596800 - kBeijingOffsetSeconds;
constexpr std::int64_t kMaxSeconds = 253402300799 - kBeijingOffsetSeconds;

constexpr double kSecondsPerDay = 86400.0;
// Day numbers of 1970-01-01, 0001-01-01 and 9999-12-31 counted from 1899-12-30.
constexpr std::int64_t kUnixEpochDay = 25569;
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

// Returns the field with the full-width forms of ASCII characters (0xA3 0xA1..0xFE) turned into
// those characters and the full-width space (0xA1 0xA1) into a space. Any other two-byte
// character, or a lead byte cut off by the end of the field, becomes 0x01, which cannot belong
// to a number.
std::string NarrowField(std::string_view field) {
  std::string out;
  std::size_t i = 0;
  while (i < field.size()) {
    const auto lead = static_cast<unsigned char>(field[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    if (i + 1 >= field.size()) {
      out += '\x01';
      break;
    }
    const auto trail = static_cast<unsigned char>(field[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else {
      out += '\x01';
    }
    i += 2;
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads the decimal number at the start of text: leading white space, an optional sign, digits
// with an optional fraction, an optional exponent. Reading stops at the first character that
// cannot continue the number. Gives nothing when there is no number or it is not finite.
std::optional<double> ReadNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) {
    ++i;
  }
  // The number is rebuilt in the form from_chars reads, which ignores the locale.
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') {
      number += '-';
    }
    ++i;
  }
  std::size_t digits = 0;
  number += '0';
  while (i < text.size() && IsDigit(text[i])) {
    number += text[i++];
    ++digits;
  }
  if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1])) {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      number += text[i++];
      ++digits;
    }
  } else if (i < text.size() && text[i] == '.') {
    ++i;  // "5." is 5; a bare "." is no number
  }
  if (digits == 0) {
    return std::nullopt;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent += text[j++];
    }
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) {
        exponent += text[j++];
      }
      number += exponent;
    }
  }
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
    return std::nullopt;  // out of range: an overflow, or an underflow that is 0 anyway
  }
  return value;
}

}  // namespace

DateTime NetworkTimeFromPage(std::string_view body) {
  const std::string_view page = body.substr(0, body.find('\0'));
  const std::size_t marker = FindText(page, TimeMarker);
  const std::size_t start =
      marker == std::string_view::npos ? kFieldStartWithoutMarker : marker + TimeMarker.size();
  const std::string_view field =
      start < page.size() ? page.substr(start, TimeDigitCount) : std::string_view();

  const double milliseconds = ReadNumber(NarrowField(field)).value_or(0.0);
  const double seconds = std::trunc(milliseconds / 1000.0);
  if (seconds < static_cast<double>(kMinSeconds) || seconds > static_cast<double>(kMaxSeconds)) {
    return BeijingEpoch;
  }
  return BeijingEpoch + static_cast<double>(static_cast<std::int64_t>(seconds)) / kSecondsPerDay;
}

DateTime FetchNetworkTime(std::string_view url, const HttpLimits& limits) {
  const std::optional<Bytes> body = HttpGet(url, limits);
  return NetworkTimeFromPage(body ? std::string_view(*body) : std::string_view());
}

CivilTime SplitDateTime(DateTime t) {
  double shifted = std::isfinite(t) ? t + 1.0 / 172800.0 : 0.0;
  // Outside the years 1 to 9999 the calendar is clamped to its ends.
  if (shifted < kFirstDay) {
    shifted = kFirstDay;
  } else if (shifted >= kLastDay + 1.0) {
    shifted = kLastDay + 86399.0 / kSecondsPerDay;
  }
  const double day = std::floor(shifted);
  auto secondOfDay = static_cast<int>(std::floor((shifted - day) * kSecondsPerDay));
  if (secondOfDay > 86399) {
    secondOfDay = 86399;
  } else if (secondOfDay < 0) {
    secondOfDay = 0;
  }
  using namespace std::chrono;
  const auto unixDay = static_cast<std::int64_t>(day) - kUnixEpochDay;
  const year_month_day date{sys_days{days{unixDay}}};
  CivilTime civil;
  civil.year = static_cast<int>(date.year());
  civil.month = static_cast<int>(static_cast<unsigned>(date.month()));
  civil.day = static_cast<int>(static_cast<unsigned>(date.day()));
  civil.hour = secondOfDay / 3600;
  civil.minute = secondOfDay / 60 % 60;
  civil.second = secondOfDay % 60;
  return civil;
}

int HourOfDay(DateTime t) { return SplitDateTime(t).hour; }

}  // namespace quivella
