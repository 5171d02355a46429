// Writing the embedded banks into the temporary directory at start, and loading the one in use.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "banks/bank_files.h"
#include "banks/bank_selection.h"
#include "banks/bank_state.h"
#include "banks/extraction.h"
#include "tests/banks/local_clock_test.h"
#include "tests/support/scratch.h"

namespace quivella {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::PutFile;
using testing::SameBytes;
using testing::ScopedEnvironment;
using testing::ScratchDirectory;

const fs::path kResources = QUIVELLA_RESOURCES_DIR;

// A fresh temporary directory named by TMPDIR, and a local time page that tells midnight (the
// sjqy bank) unless a test says otherwise.
class Extraction : public testing::LocalClockTest {
 protected:
  Extraction() { fs::create_directory(temp); }

  void SetUp() override {
    LocalClockTest::SetUp();
    SetClock(testing::kAt000000000);
  }
  std::string Bank(std::string_view name) const { return temp + "/" + std::string(name); }

  ScratchDirectory scratch;
  const std::string temp = scratch / "tmp";
  ScopedEnvironment tmpdir{"TMPDIR", temp};
  ScopedEnvironment tmp{"TMP", std::nullopt};
  ScopedEnvironment tempVariable{"TEMP", std::nullopt};
  ScopedEnvironment tempdirVariable{"TEMPDIR", std::nullopt};
};

TEST(EmbeddedBanks, HoldTheBytesOfTheResourceFiles) {
  EXPECT_EQ(SjqyBank.size(), 3373u);
  EXPECT_EQ(KjxsBank.size(), 14032u);
  EXPECT_TRUE(SameBytes(FileBytes(kResources / "sjqy.txt"), SjqyBank));
  EXPECT_TRUE(SameBytes(FileBytes(kResources / "kjxs.txt"), KjxsBank));
}

TEST_F(Extraction, WritesBothBanksByteForByteAndLoadsTheOneInUse) {
  ExtractBanks();

  EXPECT_EQ(TempDir, temp + "/");
  EXPECT_TRUE(SameBytes(FileBytes(Bank(SjqyFileName)), SjqyBank));
  EXPECT_TRUE(SameBytes(FileBytes(Bank(KjxsFileName)), KjxsBank));
  EXPECT_EQ(BankPath, Bank(SjqyFileName));
  EXPECT_TRUE(SameBytes(BankText, SjqyBank));

  SetClock(testing::kAt130000000);
  OnTimerTick();
  EXPECT_EQ(BankPath, Bank(KjxsFileName));
  EXPECT_TRUE(SameBytes(BankText, KjxsBank));
}

TEST_F(Extraction, CutsBackLongerEarlierFiles) {
  PutFile(Bank(SjqyFileName), std::string(40000, 'x'));
  PutFile(Bank(KjxsFileName), std::string(40000, 'y'));
  ExtractBanks();
  EXPECT_TRUE(SameBytes(FileBytes(Bank(SjqyFileName)), SjqyBank));
  EXPECT_TRUE(SameBytes(FileBytes(Bank(KjxsFileName)), KjxsBank));
}

TEST_F(Extraction, WritesKjxsWhenTheSjqyWriteFails) {
  fs::create_directory(Bank(SjqyFileName));
  ExtractBanks();
  EXPECT_TRUE(fs::is_directory(Bank(SjqyFileName)));
  EXPECT_TRUE(SameBytes(FileBytes(Bank(KjxsFileName)), KjxsBank));
  EXPECT_EQ(BankText, "");  // the sjqy bank is in use and cannot be read
}

TEST_F(Extraction, KeepsAnOlderKjxsWhenItsWriteFails) {
  // A file-size limit between the two banks' sizes lets the sjqy write through and breaks the
  // kjxs write off partway; it stops root as well as anyone.
  ASSERT_LT(SjqyBank.size(), KjxsBank.size());
  const std::string older = "older?kjxs\r\n";
  PutFile(Bank(KjxsFileName), older);
  SetClock(testing::kAt130000000);
  {
    const testing::FileSizeLimit limit((SjqyBank.size() + KjxsBank.size()) / 2);
    ExtractBanks();
  }
  EXPECT_TRUE(SameBytes(FileBytes(Bank(SjqyFileName)), SjqyBank));
  EXPECT_EQ(FileBytes(Bank(KjxsFileName)), older);
  EXPECT_EQ(BankText, older);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp), fs::directory_iterator()), 2);
}

TEST_F(Extraction, ReplacesPlantedLinksWithoutTouchingTheirTargets) {
  PutFile(scratch / "victim", "precious");
  fs::create_symlink(scratch / "victim", Bank(SjqyFileName));
  fs::create_symlink(scratch / "victim", Bank(KjxsFileName));
  ExtractBanks();
  EXPECT_EQ(FileBytes(scratch / "victim"), "precious");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Bank(SjqyFileName))));
  EXPECT_TRUE(SameBytes(FileBytes(Bank(SjqyFileName)), SjqyBank));
  EXPECT_TRUE(SameBytes(BankText, SjqyBank));
}

// Returns a directory path of exactly length characters inside base, made of components short
// enough for any file system, and creates it.
std::string MakeDirectoryOfLength(const std::string& base, std::size_t length) {
  std::string path = base;
  while (length - path.size() > 101) {
    path += "/" + std::string(50, 'd');
  }
  path += "/" + std::string(length - path.size() - 1, 'd');
  fs::create_directories(path);
  return path;
}

TEST_F(Extraction, TempDirectoryOfUpTo254CharactersFits) {
  struct Case {
    std::size_t variableLength;
    bool trailingSlash;
    bool fits;
  };
  // TempDir is the variable with a '/' added when it has none.
  const Case cases[] = {
      {253, false, true},   // 254 with the separator
      {254, true, true},    // 254 as given
      {254, false, false},  // 255 with the separator
      {255, true, false},
  };
  for (const Case& c : cases) {
    const std::string base = scratch / ("case" + std::to_string(c.variableLength) +
                                        (c.trailingSlash ? "s" : "n"));
    std::string directory =
        MakeDirectoryOfLength(base, c.variableLength - (c.trailingSlash ? 1 : 0));
    if (c.trailingSlash) {
      directory += '/';
    }
    ASSERT_EQ(directory.size(), c.variableLength);
    const ScopedEnvironment variable("TMPDIR", directory);
    const std::string expected =
        c.fits ? (c.trailingSlash ? directory : directory + "/") : std::string(255, ' ');
    EXPECT_EQ(QueryTempDirectory(), expected) << c.variableLength;
  }
}

TEST_F(Extraction, TooLongTempDirectoryWritesNothingAnywhere) {
  const std::string directory = MakeDirectoryOfLength(scratch / "long", 254);
  const ScopedEnvironment variable("TMPDIR", directory);
  // The bank names built from 255 blanks are relative: make sure nothing lands where they point.
  const fs::path here = fs::current_path();
  fs::current_path(temp);
  ExtractBanks();
  fs::current_path(here);

  EXPECT_EQ(TempDir, std::string(255, ' '));
  EXPECT_EQ(BankPath, std::string(255, ' ') + std::string(SjqyFileName));
  EXPECT_EQ(BankText, "");
  EXPECT_TRUE(fs::is_empty(temp));
  EXPECT_TRUE(fs::is_empty(directory));
}

TEST(QueryTempDirectory, TakesTheFirstNonEmptyVariableElseTmp) {
  struct Case {
    const char* tmpdir;
    const char* tmp;
    const char* expected;
  };
  const Case cases[] = {
      {"/var/scratch", nullptr, "/var/scratch/"},
      {"/var/scratch/", "/other", "/var/scratch/"},
      {"", "/other", "/other/"},
      {nullptr, nullptr, "/tmp/"},
      {"", "", "/tmp/"},
  };
  const ScopedEnvironment temp("TEMP", std::nullopt);
  const ScopedEnvironment tempdir("TEMPDIR", std::nullopt);
  for (const Case& c : cases) {
    const auto value = [](const char* v) { return v ? std::optional<std::string>(v) : std::nullopt; };
    const ScopedEnvironment tmpdirVariable("TMPDIR", value(c.tmpdir));
    const ScopedEnvironment tmpVariable("TMP", value(c.tmp));
    EXPECT_EQ(QueryTempDirectory(), c.expected);
  }
}

}  // namespace
}  // namespace quivella
