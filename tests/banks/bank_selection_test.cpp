// Selecting the bank in use by the network clock's hour and loading it whole.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "banks/bank_selection.h"
#include "banks/bank_state.h"
#include "tests/banks/local_clock_test.h"
#include "tests/support/scratch.h"

namespace quivella {
namespace {

using testing::PutFile;

// Bank files of the test's own with CR LF line ends, a time page on 127.0.0.1, and the bank
// state reset around each test.
class Selection : public testing::LocalClockTest {
 protected:
  void SetUp() override {
    LocalClockTest::SetUp();
    TempDir = dir / "";
    BankPath = "stale";
    BankText = "stale";
    PutFile(dir / "sjqy.txt", sjqy);
    PutFile(dir / "kjxs.txt", kjxs);
  }

  testing::ScratchDirectory dir;
  const std::string sjqy = "@@@@sjqy@@@@\r\nmorning?\xB4\xF0\xB0\xB8\r\n@@@@";
  const std::string kjxs = "@@@@kjxs@@@@\r\nafternoon?(a+b)\r\n";
};

TEST_F(Selection, LoadsTheBankOfTheHourEachTime) {
  SetClock(testing::kAt130000000);
  SelectBank();
  EXPECT_EQ(BankPath, dir / "kjxs.txt");
  EXPECT_EQ(BankText, kjxs);

  // The next tick fetches again and reads the file again, in its changed form.
  SetClock(testing::kAt000000000);
  const std::string changed = sjqy + "\r\nadded?line\r\n";
  PutFile(dir / "sjqy.txt", changed);
  OnTimerTick();
  EXPECT_EQ(BankPath, dir / "sjqy.txt");
  EXPECT_EQ(BankText, changed);
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(Selection, UnreachableClockMeansEightOClockAndSjqy) {
  SelectionClock.url = "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/";
  SelectBank();
  EXPECT_EQ(BankPath, dir / "sjqy.txt");
  EXPECT_EQ(BankText, sjqy);
}

TEST_F(Selection, MissingBankFileGivesEmptyText) {
  SetClock(testing::kAt130000000);
  std::filesystem::remove(dir / "kjxs.txt");
  SelectBank();
  EXPECT_EQ(BankPath, dir / "kjxs.txt");
  EXPECT_EQ(BankText, "");
}

}  // namespace
}  // namespace quivella
