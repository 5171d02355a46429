// Pages of the web time page for tests, and a readable form of a DateTime.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "banks/network_clock.h"

namespace quivella::testing {

// Milliseconds since 1970-01-01 00:00:00 UTC of Beijing times on 2024-05-01/02.
inline constexpr std::int64_t kAt125959999 = 1714539599999;  // 2024-05-01 12:59:59.999
inline constexpr std::int64_t kAt130000000 = 1714539600000;  // 2024-05-01 13:00:00.000
inline constexpr std::int64_t kAt235959999 = 1714579199999;  // 2024-05-01 23:59:59.999
inline constexpr std::int64_t kAt000000000 = 1714579200000;  // 2024-05-02 00:00:00.000

// Returns a body of the time page that tells ms.
inline std::string TimePage(std::int64_t ms) {
  return "<script>window.baidu_time(" + std::to_string(ms) + ");</script>";
}

// Returns t as "YYYY-MM-DD HH:MM:SS", rounded to the second.
inline std::string Format(DateTime t) {
  const CivilTime c = SplitDateTime(t);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                c.hour, c.minute, c.second);
  return text;
}

}  // namespace quivella::testing
