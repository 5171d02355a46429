// Scratch directories, environment overrides and file helpers for tests.
#include "tests/support/scratch.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace quivella::testing {

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quivella-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  // Give back write permission a test may have taken away, so everything can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) {
    old_ = old;
  }
  if (value) {
    ::setenv(name_.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  if (old_) {
    ::setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  ::getrlimit(RLIMIT_FSIZE, &old_);
  oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit lowered = old_;
  lowered.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &lowered);
}

FileSizeLimit::~FileSizeLimit() {
  ::setrlimit(RLIMIT_FSIZE, &old_);
  std::signal(SIGXFSZ, oldHandler_);
}

std::optional<std::string> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

::testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                     std::string_view expected) {
  if (!actual) {
    return ::testing::AssertionFailure() << "no bytes (the file cannot be read)";
  }
  if (*actual == expected) {
    return ::testing::AssertionSuccess();
  }
  std::size_t at = 0;
  while (at < actual->size() && at < expected.size() && (*actual)[at] == expected[at]) {
    ++at;
  }
  return ::testing::AssertionFailure() << actual->size() << " bytes where " << expected.size()
                                       << " were expected; first difference at offset " << at;
}

void PutFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace quivella::testing
