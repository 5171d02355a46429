// Writing the embedded banks into the temporary directory at start.
#pragma once

#include "platform/text.h"

namespace quivella {

// Returns the system's temporary directory with its trailing separator, or 255 blanks when the
// path does not fit the 256-byte buffer (254 characters at most).
Text QueryTempDirectory();

// Handles the main window's created event: sets TempDir, writes both bank files into it and
// selects the bank in use.
void ExtractBanks();

}  // namespace quivella
