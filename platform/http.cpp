// HttpGet over libcurl.
#include "platform/http.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string>

namespace quivella {
namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// curl's own default since 8.3; older versions follow without end, bounded only by the time.
constexpr long kMaxRedirects = 30;

// Initialises libcurl once per process; curl_global_init must not run twice at once.
bool EnsureCurl() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ready;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Sink {
  Bytes body;
  std::size_t maxBody = 0;
};

// Appends a piece of the body; past the cap it keeps what fits and breaks the transfer off.
std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const std::size_t length = size * count;
  const std::size_t room = sink->maxBody - sink->body.size();
  if (length > room) {
    sink->body.append(data, room);
    return room;  // fewer than offered: curl stops with a write error
  }
  sink->body.append(data, length);
  return length;
}

}  // namespace

std::optional<Bytes> HttpGet(std::string_view url, const HttpLimits& limits) {
  if (!EnsureCurl()) {
    return std::nullopt;
  }
  const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) {
    return std::nullopt;
  }
  curl_slist* headers = nullptr;
  for (const char* header : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"}) {
    curl_slist* grown = curl_slist_append(headers, header);
    if (grown == nullptr) {
      curl_slist_free_all(headers);
      return std::nullopt;
    }
    headers = grown;
  }
  const std::unique_ptr<curl_slist, SlistDeleter> headerList(headers);

  Sink sink;
  sink.maxBody = limits.maxBody;
  const std::string address(url);
  CURL* handle = easy.get();
  curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // An empty proxy name turns off the proxy variables of the environment.
  curl_easy_setopt(handle, CURLOPT_PROXY, "");
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
  // Time-outs by signal would disturb the window's thread; the resolver runs in its own thread.
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);

  const CURLcode result = curl_easy_perform(handle);
  if (result != CURLE_OK && sink.body.empty()) {
    return std::nullopt;
  }
  return std::move(sink.body);
}

}  // namespace quivella
