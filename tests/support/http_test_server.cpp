// The scripted HTTP test server: one thread, one connection at a time, stoppable at any point
// through a wake-up pipe that every wait also watches.
#include "tests/support/http_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace quivella::testing {
namespace {

// Returns a socket bound to 127.0.0.1 on an ephemeral port, and that port.
int BindLoopback(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    throw std::runtime_error("socket failed");
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

std::string StatusText(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

}  // namespace

HttpTestServer::HttpTestServer() {
  listener_ = BindLoopback(port_);
  int pipeFds[2];
  if (::listen(listener_, 8) != 0 || ::pipe2(pipeFds, O_CLOEXEC) != 0) {
    ::close(listener_);
    throw std::runtime_error("listen failed");
  }
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  thread_ = std::thread([this] { Run(); });
}

HttpTestServer::~HttpTestServer() {
  Stop();
  ::close(listener_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
}

void HttpTestServer::Stop() {
  if (thread_.joinable()) {
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &wake, 1);
    thread_.join();
  }
}

void HttpTestServer::Serve(const std::string& path, std::string rawResponse) {
  const std::lock_guard lock(mutex_);
  scripts_[path] = Script{std::move(rawResponse), false};
}

void HttpTestServer::Stall(const std::string& path, std::string prefix) {
  const std::lock_guard lock(mutex_);
  scripts_[path] = Script{std::move(prefix), true};
}

std::string HttpTestServer::Response(std::string_view body, int status) {
  std::string raw = "HTTP/1.0 " + std::to_string(status) + " " + StatusText(status) + "\r\n";
  raw += "Content-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  raw += body;
  return raw;
}

std::string HttpTestServer::Redirect(std::string_view location) {
  std::string raw = "HTTP/1.0 302 Found\r\nLocation: ";
  raw += location;
  raw += "\r\nContent-Length: 0\r\n\r\n";
  return raw;
}

std::string HttpTestServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> HttpTestServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

// Waits until fd is ready for events; false when the server is told to stop meanwhile.
bool HttpTestServer::WaitFor(int fd, short events) const {
  pollfd fds[2] = {{fd, events, 0}, {wakeRead_, POLLIN, 0}};
  while (true) {
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready < 0 || (fds[1].revents & POLLIN) != 0) {
      return false;
    }
    if (fds[0].revents != 0) {
      return true;
    }
  }
}

void HttpTestServer::Run() {
  while (WaitFor(listener_, POLLIN)) {
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) {
      Handle(connection);
      ::close(connection);
    }
  }
}

void HttpTestServer::Handle(int connection) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (!WaitFor(connection, POLLIN)) {
      return;
    }
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) {
      return;
    }
    request.append(buffer, static_cast<std::size_t>(n));
  }

  // The path is the second word of the request line.
  const std::size_t pathStart = request.find(' ') + 1;
  const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
  Script script{Response("", 404), false};
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
    const auto found = scripts_.find(path);
    if (found != scripts_.end()) {
      script = found->second;
    }
  }

  std::string_view rest = script.bytes;
  while (!rest.empty()) {
    if (!WaitFor(connection, POLLOUT)) {
      return;
    }
    const ssize_t n = ::send(connection, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n < 0) {
      return;  // the client went away, e.g. after taking all the body it wanted
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  if (script.stall) {
    // Hold the connection until the client gives up (end of stream) or the server stops.
    while (WaitFor(connection, POLLIN)) {
      if (::recv(connection, buffer, sizeof buffer, 0) <= 0) {
        return;
      }
    }
  }
}

std::uint16_t ClosedPort() {
  std::uint16_t port = 0;
  ::close(BindLoopback(port));
  return port;
}

}  // namespace quivella::testing
