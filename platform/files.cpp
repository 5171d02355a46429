// Whole-file reads and writes over POSIX calls, and the temporary-directory query.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quivella {
namespace {

// The longest single name the file systems we run on accept.
constexpr std::size_t kMaxNameLength = NAME_MAX;
// What the random part of a new file's name adds: "." before the name, ".XXXXXX" after it.
constexpr std::size_t kTempNameExtra = 8;

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int Get() const { return fd_; }
  // Closes now and reports whether the close succeeded, which a write must check.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Writes all of data, going on after short writes and interruptions.
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Reads up to length bytes into out; stops early at end of file. Returns false on an error.
bool ReadUpTo(int fd, std::size_t length, std::string& out) {
  out.assign(length, '\0');
  std::size_t got = 0;
  while (got < length) {
    const ssize_t n = ::read(fd, out.data() + got, length - got);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (n == 0) {
      break;  // the file shrank since its length was taken
    }
    got += static_cast<std::size_t>(n);
  }
  out.resize(got);
  return true;
}

}  // namespace

bool WriteWholeFile(std::string_view path, std::string_view data) {
  if (path.empty() || path.find('\0') != std::string_view::npos) {
    return false;
  }
  const std::size_t slash = path.rfind('/');
  const std::string_view directory =
      slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
  const std::string_view name = path.substr(directory.size());
  // Checked here because the new file is made beside the name: a name no file system accepts
  // must not leave a stray file in the directory the path would have meant.
  if (name.empty() || name == "." || name == ".." || name.size() > kMaxNameLength) {
    return false;
  }

  std::string temp(directory);
  temp += '.';
  temp += name.substr(0, std::min(name.size(), kMaxNameLength - kTempNameExtra));
  temp += ".XXXXXX";
  // mkostemp opens with O_CREAT | O_EXCL: it never opens a name that already stands there.
  FileDescriptor file(::mkostemp(temp.data(), O_CLOEXEC));
  if (file.Get() < 0) {
    return false;
  }
  // Readable by all like a file created the ordinary way: the bytes are public (the program
  // carries them), and mkostemp's 0600 would only surprise whoever looks at the file.
  bool ok = ::fchmod(file.Get(), 0644) == 0 && WriteAll(file.Get(), data);
  ok = file.Close() && ok;
  if (ok) {
    ok = ::rename(temp.c_str(), std::string(path).c_str()) == 0;
  }
  if (!ok) {
    ::unlink(temp.c_str());
  }
  return ok;
}

Text CutAtTextEnd(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == 0x1A) {
      return Text(bytes.substr(0, i));
    }
    i += byte >= 0x80 ? 2u : 1u;
  }
  return Text(bytes);
}

Text ReadWholeText(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) {
    return {};
  }
  // O_NONBLOCK so that a FIFO planted under the name cannot hold the open forever; it changes
  // nothing for a regular file.
  FileDescriptor file(::open(std::string(path).c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Get() < 0) {
    return {};
  }
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_uid != ::geteuid() || status.st_size <= 0) {
    return {};
  }
  std::string bytes;
  if (!ReadUpTo(file.Get(), static_cast<std::size_t>(status.st_size), bytes)) {
    return {};
  }
  return CutAtTextEnd(bytes);
}

std::size_t QueryTempPath(char* buffer, std::size_t size) {
  std::string directory = "/tmp";
  for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      directory = value;
      break;
    }
  }
  if (directory.back() != '/') {
    directory += '/';
  }
  if (directory.size() + 1 > size) {
    return 0;
  }
  std::memcpy(buffer, directory.data(), directory.size());
  buffer[directory.size()] = '\0';
  return directory.size();
}

}  // namespace quivella
