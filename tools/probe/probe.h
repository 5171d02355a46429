// Subcommands of quivella-probe, the developer's command-line window onto the core.
#pragma once

namespace quivella::probe {

// Each subcommand takes the arguments after its own name and returns the exit code.
int RunRegex(int argc, char** argv);
int RunClock(int argc, char** argv);
int RunSearch(int argc, char** argv);

}  // namespace quivella::probe
