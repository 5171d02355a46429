// Scratch state for tests: a fresh directory that is removed afterwards, an environment
// variable set for one test, and plain whole-file helpers that share no code with the program's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

// Returns the bytes of the file at path, or nullopt when it cannot be read.
std::optional<std::string> FileBytes(const std::filesystem::path& path);
// Writes bytes as the file at path, following links as any plain program would.
void PutFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace quivella::testing
