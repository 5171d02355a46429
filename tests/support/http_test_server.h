// A scripted HTTP server on 127.0.0.1 for tests: it runs in a thread of the test process,
// answers each path with bytes the test gives, and records every raw request.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quivella::testing {

class HttpTestServer {
 public:
  // Starts listening on an ephemeral port of 127.0.0.1.
  HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;
  ~HttpTestServer();

  // Answers GET path with these raw bytes (status line, headers, body), then closes.
  void Serve(const std::string& path, std::string rawResponse);
  // Answers GET path with the raw bytes of prefix and then sends nothing more: the connection
  // stays open until the client gives up or the server stops.
  void Stall(const std::string& path, std::string prefix = {});

  // Returns a 1.0 response with the given status and body, closed after the body.
  static std::string Response(std::string_view body, int status = 200);
  // Returns a redirect to location.
  static std::string Redirect(std::string_view location);

  std::uint16_t Port() const { return port_; }
  // Returns the address of path on this server, e.g. "http://127.0.0.1:4711/special/time/".
  std::string Url(std::string_view path) const;
  // Returns the raw requests received so far, head only, in order.
  std::vector<std::string> Requests() const;

  // Stops the thread, dropping any open connection. Safe to call twice.
  void Stop();

 private:
  struct Script {
    std::string bytes;
    bool stall = false;
  };

  void Run();
  void Handle(int connection);
  bool WaitFor(int fd, short events) const;

  int listener_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::uint16_t port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Script> scripts_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// Returns a port of 127.0.0.1 on which nothing listens (it was bound, then released).
std::uint16_t ClosedPort();

}  // namespace quivella::testing
