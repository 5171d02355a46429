// Choosing the bank in use by the hour of Beijing time.
#pragma once

#include <string>
#include <string_view>

#include "banks/network_clock.h"
#include "platform/http.h"

namespace quivella {

// Where SelectBank reads the time from. The program never changes it; tests and tools that must
// not reach the public page point it at a page of their own.
struct ClockSource {
  std::string url{TimePageUrl};
  HttpLimits limits;
};
extern ClockSource SelectionClock;

// The first hour of the day that uses the kjxs bank.
inline constexpr int KjxsFirstHour = 13;

// Returns the file name of the bank in use at hour (0 to 23): sjqy before 13:00, kjxs from 13:00.
std::string_view BankNameForHour(int hour);

// Reads the network clock, picks the bank for its hour and loads it into BankPath and BankText.
void SelectBank();

// Handles the hourly tick of the timer: selects the bank again.
void OnTimerTick();

}  // namespace quivella
