// Choosing the bank in use by the hour of Beijing time.
#pragma once

namespace quivella {

// Reads the network clock, picks the bank for its hour and loads it into BankPath and BankText.
void SelectBank();

// Handles the hourly tick of the timer: selects the bank again.
void OnTimerTick();

}  // namespace quivella
