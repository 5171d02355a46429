// The bank state of the running program: where the bank files were written, which bank is in
// use and its whole text. The application shell releases them at exit.
#pragma once

#include "platform/text.h"

namespace quivella {

// The temporary directory with its trailing separator; set once per start by ExtractBanks.
extern Text TempDir;
// The full path of the bank file in use; replaced by every SelectBank.
extern Text BankPath;
// The whole text of the bank file in use; replaced by every SelectBank, searched on every query.
extern Text BankText;

}  // namespace quivella
