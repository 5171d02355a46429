// Scratch state for tests: a fresh directory that is removed afterwards, an environment
// variable set for one test, and plain whole-file helpers that share no code with the program's.
#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace quivella::testing {

// A new, empty directory under the system's temporary directory; removed with its content.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory();

  const std::filesystem::path& Path() const { return path_; }
  // Returns the path of name inside the directory, as a string.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Sets (or, with nullopt, unsets) an environment variable and restores it on destruction.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value);
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment();

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Lowers the file-size limit of the process while it lives, so that a write fails partway even
// for root (whom permission bits do not stop); the signal that would end the process is ignored
// meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit();

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

// Returns the bytes of the file at path, or nullopt when it cannot be read.
std::optional<std::string> FileBytes(const std::filesystem::path& path);
// Compares byte blocks and, when they differ, reports their sizes and the first differing offset
// instead of printing kilobytes of bank text. An absent actual block never matches.
::testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                     std::string_view expected);

// Writes bytes as the file at path, following links as any plain program would.
void PutFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace quivella::testing
