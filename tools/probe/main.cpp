// quivella-probe: drives pieces of the core from the command line, for checks against
// references and for looking at behaviour without the window.
#include <cstdio>
#include <cstring>

#include "tools/probe/probe.h"

namespace {

int Usage() {
  std::fputs(
      "usage: quivella-probe regex                 (JSON Lines cases on standard input)\n"
      "       quivella-probe clock URL\n"
      "       quivella-probe search BANKFILE QUERY\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return Usage();
  }
  const char* command = argv[1];
  if (std::strcmp(command, "regex") == 0) {
    return quivella::probe::RunRegex(argc - 2, argv + 2);
  }
  if (std::strcmp(command, "clock") == 0) {
    return quivella::probe::RunClock(argc - 2, argv + 2);
  }
  if (std::strcmp(command, "search") == 0) {
    return quivella::probe::RunSearch(argc - 2, argv + 2);
  }
  return Usage();
}
