// Writing the embedded banks into the temporary directory at start.
#include "banks/extraction.h"

#include "banks/bank_files.h"
#include "banks/bank_selection.h"
#include "banks/bank_state.h"
#include "platform/files.h"

namespace quivella {
namespace {

// The size the temporary-directory query is given: a path of 254 characters and its NUL fit.
constexpr std::size_t kTempPathBufferSize = 255;

}  // namespace

Text QueryTempDirectory() {
  // 255 blanks and the string's own NUL: what the query leaves when the path does not fit.
  Text buffer(kTempPathBufferSize, ' ');
  QueryTempPath(buffer.data(), kTempPathBufferSize);
  return Text(buffer.c_str());
}

void ExtractBanks() {
  TempDir = QueryTempDirectory();
  // Each write runs whatever came of the one before; a failed write leaves the earlier file.
  WriteWholeFile(TempDir + std::string(SjqyFileName), SjqyBank);
  WriteWholeFile(TempDir + std::string(KjxsFileName), KjxsBank);
  SelectBank();
}

}  // namespace quivella
