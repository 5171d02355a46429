// A fixture for tests that select a bank: a time page served on 127.0.0.1 that SelectBank reads,
// and the bank state emptied before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "banks/bank_selection.h"
#include "banks/bank_state.h"
#include "tests/banks/clock_page.h"
#include "tests/support/http_test_server.h"

namespace quivella::testing {

class LocalClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectionClock.url = server.Url("/special/time/");
    ClearBankState();
  }
  void TearDown() override {
    SelectionClock = ClockSource{};
    ClearBankState();
  }

  // Makes the time page tell ms.
  void SetClock(std::int64_t ms) {
    server.Serve("/special/time/", HttpTestServer::Response(TimePage(ms)));
  }

  HttpTestServer server;

 private:
  static void ClearBankState() {
    TempDir.clear();
    BankPath.clear();
    BankText.clear();
  }
};

}  // namespace quivella::testing
