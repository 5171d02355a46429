// Whole-file writes and reads of the bank files, in a directory other users may share.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/support/scratch.h"

namespace quivella {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::FileSizeLimit;
using testing::PutFile;
using testing::ScratchDirectory;

// Returns the names in directory, sorted, so a stray temporary file shows up in a comparison.
std::vector<std::string> Entries(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteWholeFile, WritesExactBytesByReplacingTheName) {
  ScratchDirectory dir;
  const std::string path = dir / "bank.txt";
  const std::string data("a?b\r\n\0\x1A\xB0\xA1", 9);
  PutFile(path, std::string(5000, 'x'));
  // A reader that has the earlier file open keeps reading the earlier bytes: the new content
  // arrives as a new file under the name, never by rewriting the old one in place.
  const int reader = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(reader, 0);

  ASSERT_TRUE(WriteWholeFile(path, data));

  EXPECT_EQ(FileBytes(path), data);
  char first = 0;
  EXPECT_EQ(::pread(reader, &first, 1, 4999), 1);
  EXPECT_EQ(first, 'x');
  ::close(reader);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"bank.txt"});

  ASSERT_TRUE(WriteWholeFile(path, ""));
  EXPECT_EQ(FileBytes(path), "");
}

TEST(WriteWholeFile, BadPathsFailAtOnceAndTouchNothing) {
  ScratchDirectory dir;
  for (const std::string& path :
       {std::string(), dir / "", dir / ".", dir / std::string(256, 'n'), dir / "missing/x.txt"}) {
    EXPECT_FALSE(WriteWholeFile(path, "data")) << '"' << path << '"';
  }
  EXPECT_TRUE(Entries(dir.Path()).empty());
}

TEST(WriteWholeFile, ReplacesAPlantedSymbolicLinkWithoutWritingThroughIt) {
  ScratchDirectory dir;
  const std::string victim = dir / "victim";
  PutFile(victim, "precious");
  fs::create_symlink(victim, dir / "bank.txt");

  ASSERT_TRUE(WriteWholeFile(dir / "bank.txt", "bank"));

  EXPECT_EQ(FileBytes(victim), "precious");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "bank.txt")));
  EXPECT_EQ(FileBytes(dir / "bank.txt"), "bank");
}

TEST(WriteWholeFile, FailedWriteLeavesTheEarlierFileAndNoTemporary) {
  ScratchDirectory dir;
  // A directory standing under the name: the new file cannot take its place.
  fs::create_directory(dir / "taken.txt");
  EXPECT_FALSE(WriteWholeFile(dir / "taken.txt", "bank"));
  EXPECT_TRUE(fs::is_directory(dir / "taken.txt"));

  // A write that breaks off partway (here at the process's file-size limit).
  PutFile(dir / "bank.txt", "earlier");
  {
    const FileSizeLimit limit(4096);
    EXPECT_FALSE(WriteWholeFile(dir / "bank.txt", std::string(65536, 'n')));
  }
  EXPECT_EQ(FileBytes(dir / "bank.txt"), "earlier");
  EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"bank.txt", "taken.txt"}));
}

TEST(WriteWholeFile, ReadOnlyDirectoryKeepsTheEarlierFile) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "permission bits do not stop root; the other failure tests cover the path";
  }
  ScratchDirectory dir;
  PutFile(dir / "bank.txt", "earlier");
  fs::permissions(dir.Path(), fs::perms(0555));
  EXPECT_FALSE(WriteWholeFile(dir / "bank.txt", "bank"));
  fs::permissions(dir.Path(), fs::perms(0755));
  EXPECT_EQ(FileBytes(dir / "bank.txt"), "earlier");
}

TEST(ReadWholeText, EndsAtNulOrAtA1AThatBeginsACharacter) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"line ends kept", "a?b\r\nc?d\r\n", "a?b\r\nc?d\r\n"},
      {"empty file", "", ""},
      {"NUL ends", std::string("ab\0cd", 5), "ab"},
      {"0x1A ends", "ab\x1A" "cd", "ab"},
      {"0x1A as a second byte goes on", "\x81\x1A" "cd\x1A" "z", "\x81\x1A" "cd"},
      {"0x1A after a pair ends", "\xB0\xA1\x1A" "z", "\xB0\xA1"},
      {"NUL as a second byte ends", std::string("\x81\0z", 3), "\x81"},
  };
  ScratchDirectory dir;
  for (const Case& c : cases) {
    PutFile(dir / "bank.txt", c.bytes);
    EXPECT_EQ(ReadWholeText(dir / "bank.txt"), c.text) << c.name;
  }
}

TEST(ReadWholeText, WhatCannotBeOpenedSafelyReadsAsEmpty) {
  ScratchDirectory dir;
  PutFile(dir / "real.txt", "a?b\r\n");
  fs::create_symlink(dir / "real.txt", dir / "link.txt");
  fs::create_directory(dir / "directory.txt");
  // A FIFO nobody writes to would block a plain open for ever.
  ASSERT_EQ(::mkfifo((dir / "fifo.txt").c_str(), 0644), 0);

  for (const char* name : {"missing.txt", "link.txt", "directory.txt", "fifo.txt"}) {
    EXPECT_EQ(ReadWholeText(dir / name), "") << name;
  }
  EXPECT_EQ(ReadWholeText(""), "");
  EXPECT_EQ(ReadWholeText(dir / "real.txt"), "a?b\r\n");
}

TEST(ReadWholeText, RefusesAFileOwnedByAnotherUser) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "only root can give a file to another user";
  }
  ScratchDirectory dir;
  PutFile(dir / "planted.txt", "planted?answer\r\n");
  ASSERT_EQ(::chown((dir / "planted.txt").c_str(), 65534, 65534), 0);
  EXPECT_EQ(ReadWholeText(dir / "planted.txt"), "");
}

}  // namespace
}  // namespace quivella
