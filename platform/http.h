// The HTTP client the network clock reads its page with: one GET, the whole body back.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace quivella {

// How long a request may take and how much of a body it keeps. The request runs on the window's
// thread, so a stalled server must not freeze the window for long, and a body far larger than
// any time page must not fill the memory.
struct HttpLimits {
  std::chrono::milliseconds connect{5000};
  std::chrono::milliseconds total{10000};
  std::size_t maxBody = std::size_t{1} << 20;
};

// Fetches url with one GET over HTTP/1.0 and returns the body.
//
// The request sends the User-Agent "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
// "Accept: */*" and headers that forbid any cache to answer it; redirects are followed; no proxy
// is used, whatever the environment says. The status is not looked at: an error page's body comes
// back like any other. When reading breaks off (an error, a time bound, or a body longer than
// limits.maxBody) the bytes received until then come back, cut to maxBody. Returns nothing when
// no byte of a body arrived from a request that failed.
std::optional<Bytes> HttpGet(std::string_view url, const HttpLimits& limits = {});

}  // namespace quivella
